Attribute VB_Name = "Slips"
Option Explicit
Private Type Address
    City As String
    Zip As String * 8
End Type
Public Type Slip
    No As Long
    Name As String
    Amount As Currency
    Addr As Address
End Type
Private mSlips(2) As Slip

Sub F_DataPrint()
    Dim s As Slip, t As Slip, i As Integer
    s.No = 101: s.Name = "山田商店": s.Amount = 1200
    s.Addr.City = "大阪"
    t = s
    t.Name = "鈴木工房": t.Addr.City = "京都"
    mSlips(0) = s: mSlips(1) = t
    mSlips(2).No = 103
    With mSlips(2)
        .Name = "佐藤"
        .Addr.City = "神戸"
    End With
    For i = 0 To 2
        Printer.Print mSlips(i).No & " " & mSlips(i).Name & " " & mSlips(i).Addr.City & " " & mSlips(i).Amount
    Next
    Printer.Print s.Name & " " & s.Addr.City
    Printer.EndDoc
End Sub
