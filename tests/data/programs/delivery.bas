' 納品書：品目と単価、数量、金額、消費税。品目が多いと Print が次のページへ送る。
Option Explicit

Private Type LineItem
    Code As String * 6
    Name As String
    Price As Currency
    Quantity As Integer
End Type

Public Sub F_DataPrint()
    Dim Items() As LineItem, n As Integer, i As Integer
    Dim curSum As Currency, curTax As Currency
    Do Until rs.EOF
        ReDim Preserve Items(n)
        Items(n).Code = rs!Code
        Items(n).Name = rs!Name
        Items(n).Price = CCur(rs!Price)
        Items(n).Quantity = CInt(rs!Quantity)
        n = n + 1
        rs.MoveNext
    Loop
    Printer.ScaleMode = vbMillimeters
    Printer.FontName = "ＭＳ ゴシック"
    Printer.FontSize = 18
    Printer.CurrentX = 80: Printer.CurrentY = 10
    Printer.Print "納品書"
    Printer.FontSize = 10
    Printer.CurrentX = 130: Printer.CurrentY = 25
    Printer.Print "納品日 " & Format(Now, "ggge年m月d日")
    Printer.CurrentY = 40
    For i = LBound(Items) To UBound(Items)
        Printer.CurrentX = 15
        Printer.Print "[" & Items(i).Code & "] " & Items(i).Name; Tab(60); _
            Format(Items(i).Price, "#,##0円"); Tab(80); Items(i).Quantity; Tab(95); _
            Format(Items(i).Price * Items(i).Quantity, "#,##0円")
        curSum = curSum + Items(i).Price * Items(i).Quantity
    Next i
    curTax = Int(curSum * 0.1)
    Printer.Print
    Printer.Print Tab(60); "小計 " & Format(curSum, "#,##0円")
    Printer.Print Tab(60); "消費税 " & Format(curTax, "#,##0円")
    Printer.Print Tab(60); "合計 " & FormatCurrency(curSum + curTax)
    Printer.EndDoc
End Sub
