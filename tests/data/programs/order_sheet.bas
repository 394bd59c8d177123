' An order sheet kept in a record with an array of lines, printed in twips; a discount that
' may be missing is Null until it is known.
Option Explicit

Private Type OrderLine
    Code As String * 6
    Quantity As Integer
    Price As Currency
End Type

Private Type Order
    Number As Long
    Lines(1 To 4) As OrderLine
    Notes() As String
    Discount As Variant
End Type

Private Const LEFT_EDGE = 1440

Sub F_DataPrint()
    Dim o As Order, i As Integer, total As Currency
    On Error GoTo Failed
    o.Number = 1042
    o.Discount = Null
    For i = 1 To 3
        o.Lines(i).Code = "P-" & Format(i * 7, "000") & "X"
        o.Lines(i).Quantity = i * 2
        o.Lines(i).Price = 1250.5 * i
    Next i
    ReDim o.Notes(1)
    o.Notes(0) = "Handle with care"
    ReDim Preserve o.Notes(2)
    o.Notes(2) = "Deliver by noon"
    PrintOrder o, total
    If IsNull(o.Discount) Then Printer.Print Tab(8); "Discount: none" & o.Discount
    o.Discount = 0.1
    Printer.Print Tab(8); "Total after discount " & Format(total * (1 - o.Discount), "#,##0.00")
    Printer.EndDoc
    Exit Sub
Failed:
    Printer.Print "Stopped: " & Err.Description
    Printer.EndDoc
End Sub

Private Sub PrintOrder(o As Order, total As Currency)
    Dim i As Integer, n As Variant
    Printer.FontSize = 12
    Printer.CurrentX = LEFT_EDGE: Printer.CurrentY = 1440
    Printer.Print "Order No. " & o.Number & " (" & UBound(o.Lines) - LBound(o.Lines) + 1 & " lines)"
    For i = LBound(o.Lines) To UBound(o.Lines)
        If o.Lines(i).Quantity > 0 Then
            Printer.CurrentX = LEFT_EDGE
            Printer.Print "[" & o.Lines(i).Code & "]"; Tab(30); o.Lines(i).Quantity; Tab(40); _
                Format(o.Lines(i).Price, "#,##0.00")
            total = total + o.Lines(i).Quantity * o.Lines(i).Price
        End If
    Next i
    For Each n In o.Notes
        If Len(n) > 0 Then Printer.Print Tab(8); "Note: " & n
    Next n
    Printer.Print Tab(8); "Total " & Format(total, "#,##0.00")
End Sub
