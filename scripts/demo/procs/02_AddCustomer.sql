create procedure dbo.AddCustomer @Id int, @Name nvarchar(100)
as
    insert into dbo.Customer (Id, Name) values (@Id, @Name)
GO
grant execute on dbo.AddCustomer to public
GO
