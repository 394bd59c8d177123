' A parts list: the rows read into an array that grows, sorted by price, prices right-aligned.
Private mPrinted As Long

Sub F_DataPrint()
    Dim Names() As String, Prices() As Currency, n As Long, i As Long, j As Long
    Dim strPrice As String
    Do While Not rs.EOF
        ReDim Preserve Names(n): ReDim Preserve Prices(n)
        Names(n) = rs!Part: Prices(n) = CCur(rs!Price)
        n = n + 1
        rs.MoveNext
    Loop
    For i = 0 To n - 2
        For j = i + 1 To n - 1
            If Prices(j) < Prices(i) Then Swap Names, Prices, i, j
        Next j
    Next i
    Printer.ScaleMode = vbMillimeters
    Printer.FontName = "ＭＳ 明朝": Printer.FontSize = 10
    For i = LBound(Names) To UBound(Names)
        strPrice = Format(Prices(i), "#,##0.00")
        Printer.CurrentX = 20: Printer.CurrentY = 20 + i * 6
        Printer.Print Counter() & ". " & Names(i);
        Printer.CurrentX = 120 - Printer.TextWidth(strPrice)
        Printer.Print strPrice
    Next i
    Erase Names
    Printer.Print "rows " & n & ", printed " & mPrinted
    Printer.EndDoc
End Sub

Private Sub Swap(Names() As String, Prices() As Currency, ByVal a As Long, ByVal b As Long)
    Dim s As String, c As Currency
    s = Names(a): Names(a) = Names(b): Names(b) = s
    c = Prices(a): Prices(a) = Prices(b): Prices(b) = c
End Sub

Private Function Counter() As Long
    Static n As Long
    n = n + 1
    mPrinted = n
    Counter = n
End Function
