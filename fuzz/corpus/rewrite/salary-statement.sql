SELECT Sotr.FIO, Stavka.Sum, OtrChas.Count, ROUND(Stavka.Sum*OtrChas.Count/20), Stavka.Sum*0.12, 
Stavka.Sum*0.01, Stavka.Sum*0.4, Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01, Premia.Premia*Stavka.Sum/100, Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01+Premia.Premia*Stavka.Sum/100
FROM Stavka, Sotr, Premia, OtrChas
WHERE Stavka.IDSotr = Sotr.ID and Sotr.ID  = Premia.IDSotr and Sotr.ID = OtrChas.IDSotr
and Month(Premia.Data) = Month(:D1) and Year(Premia.Data) = Year(:D2)
and Month(OtrChas.Data) = Month(:D3) and Year(OtrChas.Data) = Year(:D4)
ORDER BY Sotr.FIO
