# Install rules, the CMake package (find_package(Brezal)) and the pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS brezal EXPORT BrezalTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quimera RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Only the public headers: include/ado and include/quimera (the components' interfaces are
# under quimera/components).
install(DIRECTORY include/ado include/quimera DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT BrezalTargets NAMESPACE Brezal:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Brezal)

configure_package_config_file(cmake/BrezalConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/BrezalConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Brezal)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/BrezalConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/BrezalConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/BrezalConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Brezal)

# The prefix as seen from the installed .pc file, so that the package can be moved: two levels
# up from lib/pkgconfig, three from a multiarch lib/x86_64-linux-gnu/pkgconfig.
file(RELATIVE_PATH BREZAL_PC_TO_PREFIX "${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig" "${CMAKE_INSTALL_PREFIX}")
configure_file(cmake/brezal.pc.in ${CMAKE_CURRENT_BINARY_DIR}/brezal.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/brezal.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
