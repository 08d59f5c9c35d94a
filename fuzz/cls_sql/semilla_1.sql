SELECT Nombre, Ciudad FROM Clientes WHERE Activo = 1 ORDER BY Nombre
#4Activo = 1 AND Ciudad = 'Madrid'