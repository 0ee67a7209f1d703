SELECT Sotr.ID, Sotr.FIO, Dolznost.Nazvanie, Sotr.DataR, Sotr.Adres, Sotr.Telefon, Sotr.Passport, Sotr.INN
FROM Sotr, Dolznost
WHERE Dolznost.ID = Sotr.IDDolznost and Sotr.FIO LIKE :P1
