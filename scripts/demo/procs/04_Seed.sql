print 'Données de démonstration chargées'
GO
