// The PostgreSQL ODBC driver leaks a few hundred bytes in SQLDescribeParam; the sanitizer
// build does not count the driver's own leaks against the library.
extern "C" const char* __lsan_default_suppressions() { return "leak:psqlodbcw.so\n"; }
