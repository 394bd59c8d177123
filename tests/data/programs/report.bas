' A report of sixty rows: a header on every page after NewPage, a page number, totals.
Private Const ROWS_PER_PAGE As Integer = 25

Sub F_DataPrint()
    Dim i As Long, lngTotal As Long, intPage As Integer, sngY As Single
    Printer.ScaleMode = 6
    Printer.FontSize = 10
    intPage = 1
    PrintHeader intPage
    sngY = 30
    For i = 1 To 60
        If (i - 1) Mod ROWS_PER_PAGE = 0 And i > 1 Then
            Printer.NewPage
            intPage = intPage + 1
            PrintHeader intPage
            sngY = 30
        End If
        Printer.CurrentX = 20: Printer.CurrentY = sngY
        Printer.Print Format(i, "000");
        Printer.CurrentX = 40
        Printer.Print "Item " & i;
        Printer.CurrentX = 160 - Printer.TextWidth(Format(i * 1250, "#,##0"))
        Printer.Print Format(i * 1250, "#,##0")
        lngTotal = lngTotal + i * 1250
        sngY = sngY + 8
    Next i
    Printer.CurrentX = 40: Printer.CurrentY = sngY + 4
    Printer.Print "Total " & Format(lngTotal, "#,##0")
    Printer.EndDoc
End Sub

Sub PrintHeader(ByVal intPage As Integer)
    Printer.CurrentX = 20: Printer.CurrentY = 15
    Printer.FontBold = True
    Printer.Print "No.  Item" & Space(10) & "Amount";
    Printer.CurrentX = 150
    Printer.Print "Page " & intPage & "/" & 3
    Printer.FontBold = False
    Printer.Line (20, 24)-(160, 24)
End Sub
