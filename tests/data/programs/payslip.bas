Attribute VB_Name = "modPayslip"
Option Explicit

' One payslip a page: the employee's name, the pay items right-aligned, the net pay.
Public Sub F_DataPrint()
    On Error GoTo ErrHandler
    Dim sngRight As Single, strAmount As String
    Printer.ScaleMode = vbMillimeters
    Printer.FontName = "ＭＳ 明朝"
    sngRight = 150
    Do Until rs.EOF
        With rs
            Printer.FontSize = 16
            Printer.CurrentX = 20: Printer.CurrentY = 20
            Printer.Print "給与明細 " & !Month
            Printer.FontSize = 11
            Printer.CurrentX = 20: Printer.CurrentY = 35
            Printer.Print !Name & " 様"
            PrintAmount "基本給", CCur(!Base), 50, sngRight
            PrintAmount "手当", CCur(!Allowance), 57, sngRight
            PrintAmount "控除", -CCur(!Deduction), 64, sngRight
            Printer.Line (20, 70)-(sngRight, 70)
            PrintAmount "差引支給額", CCur(!Base) + CCur(!Allowance) - CCur(!Deduction), 73, sngRight
            .MoveNext
            If Not .EOF Then Printer.NewPage
        End With
    Loop
    Printer.EndDoc
    Exit Sub
ErrHandler:
    MsgBox "印刷できません：" & Err.Description, vbCritical
    Printer.KillDoc
End Sub

Private Sub PrintAmount(ByVal strLabel As String, ByVal curAmount As Currency, _
                        ByVal sngY As Single, ByVal sngRight As Single)
    Dim strText As String
    strText = Format(curAmount, "Currency")
    Printer.CurrentX = 20: Printer.CurrentY = sngY
    Printer.Print strLabel;
    Printer.CurrentX = sngRight - Printer.TextWidth(strText)
    Printer.Print strText
End Sub
