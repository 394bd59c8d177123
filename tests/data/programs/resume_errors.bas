' An invoice total that survives bad data: On Error Resume Next, Err checked after each step.
Sub F_DataPrint()
    Dim v As Variant, total As Double, n As Integer, bad As Integer
    Printer.ScaleMode = 6
    Printer.Font = "Arial"
    Printer.FontSize = 12
    Printer.FontBold = True
    Printer.CurrentX = 20: Printer.CurrentY = 20
    Printer.Print "Invoice " & Printer.Font
    Printer.FontBold = False
    On Error Resume Next
    For Each v In Values()
        Err.Clear
        total = total + CDbl(v)
        If Err.Number <> 0 Then
            bad = bad + 1
            Debug.Print "skipped " & v & ": " & Err.Number
        Else
            n = n + 1
        End If
    Next
    Printer.Print "Average " & Format(total / n, "0.00")
    Printer.Print "Per zero " & (total / 0)
    Printer.Print "Errors " & bad & " / last " & Err.Number
    On Error GoTo 0
    If MsgBox("Print the summary?", vbYesNo + vbQuestion) = vbYes Then
        Printer.Print "Summary printed"
    End If
    Printer.EndDoc
End Sub

Function Values() As Collection
    Dim c As New Collection
    c.Add "12.5": c.Add "x": c.Add 30: c.Add "": c.Add "7.5"
    Set Values = c
End Function
