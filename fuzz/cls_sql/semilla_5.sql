INSERT INTO Destino (Campo) SELECT Campo FROM Origen
#1p Long
#6Campo