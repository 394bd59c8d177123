' A bank transfer slip in a scale of its own: the amount one digit a box, right-aligned.
Sub F_DataPrint()
    Dim strAmount As String, i As Integer, sngX As Single
    Printer.Scale (0, 0)-(200, 140)
    Printer.FontSize = 12
    Printer.Line (10, 10)-(190, 70), , B
    Printer.CurrentX = 15: Printer.CurrentY = 12
    Printer.Print "振込依頼書"
    strAmount = Format(1234500, "@@@@@@@@@")
    For i = 1 To 9
        sngX = 60 + (i - 1) * 12
        Printer.Line (sngX, 30)-Step(12, 12), , B
        Printer.CurrentX = sngX + 4: Printer.CurrentY = 32
        Printer.Print Mid$(strAmount, i, 1);
    Next i
    Printer.CurrentX = 15: Printer.CurrentY = 32
    Printer.Print "金額";
    Printer.CurrentX = 15: Printer.CurrentY = 50
    Printer.Print "依頼日 " & Format(Date, "yyyy/mm/dd") & "  " & Format(Date, "ggge年m月d日")
    Printer.Line (10, 75)-(190, 75), RGB(128, 128, 128)
    Printer.Print Tab(5); "受付"; Tab(30); "検印"
    Printer.EndDoc
End Sub
