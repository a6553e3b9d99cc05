create table dbo.Customer (Id int not null primary key, Name nvarchar(100) not null)
GO
