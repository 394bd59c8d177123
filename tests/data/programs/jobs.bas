' Two print jobs in one run, each ended by EndDoc; a NewPage before EndDoc prints no blank page.
Sub F_DataPrint()
    Dim j As Integer, p As Integer
    Printer.ScaleMode = vbInches
    For j = 1 To 2
        For p = 1 To 2 - (j = 2)
            Printer.CurrentX = 1: Printer.CurrentY = 1
            Printer.Print "Job " & j & " page " & Printer.Page
            Printer.Circle (4, 5), 1
            Printer.NewPage
        Next p
        Printer.EndDoc
    Next j
End Sub
