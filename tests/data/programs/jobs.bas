' Two print jobs in one run, each ended by EndDoc; a NewPage before EndDoc prints no blank page.
' A third job fails part-way and its handler drops it with KillDoc: none of its pages print.
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
    On Error GoTo Cancel
    Printer.Copies = 2
    Printer.Print "Cancelled job, page 1"
    Printer.NewPage
    Printer.Print "Cancelled job, page 2 on " & Printer.DeviceName
    Err.Raise 1001, , "paper jam"
    Exit Sub
Cancel:
    Printer.KillDoc
    Printer.Print "Printed after KillDoc on " & Printer.DeviceName & " x" & Printer.Copies
    Printer.EndDoc
End Sub
