create procedure dbo.GetCustomer @Id int
as
    select Id, Name from dbo.Customer where Id = @Id
GO
grant execute on dbo.GetCustomer to public
GO
