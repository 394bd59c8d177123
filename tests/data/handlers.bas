Sub F_DataPrint()
    Dim n As Integer
    On Error GoTo ErrHandler
    Printer.Print "start"
    n = 32767
    n = n + 1
    Printer.Print "after overflow " & n
    Printer.Print "x=" & (10 / 0)
    Printer.Print "Err now " & Err.Number
    Err.Raise 1001, "slip", "伝票番号がありません"
    Printer.Print "resumed at label"
    Exit Sub
ErrHandler:
    Printer.Print "error " & Err.Number & ": " & Err.Description & " / " & Error$
    If Err.Number = 6 Then
        n = 0
        Resume Next
    ElseIf Err = 11 Then
        Resume Next
    ElseIf Err.Number = 1001 Then
        Printer.Print "source " & Err.Source
        Resume Done
    End If
    Resume Next
Done:
    Printer.Print "done " & Err.Number
End Sub
