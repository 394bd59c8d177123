' 月別消費量レポート：二ページ、期間の日数、区分は Select Case で。
Sub F_DataPrint()
    Dim d As Date, i As Integer, strKind As String, lngQty As Long, lngAll As Long
    Printer.ScaleMode = vbMillimeters
    Printer.FontSize = 11
    d = DateSerial(2024, 1, 1)
    For i = 1 To 24
        If i = 13 Then
            Printer.NewPage
        End If
        If i = 1 Or i = 13 Then
            Printer.CurrentY = 15
            Printer.Print "消費量報告 "; Year(d); "年"; Tab(40); "作成 "; Format(Now, "yyyy/m/d")
            Printer.Print "月", "日数", "区分", "数量"
        End If
        lngQty = (i * 37) Mod 100 + 20
        Select Case lngQty
            Case Is < 40: strKind = "少"
            Case 40 To 79: strKind = "中"
            Case Else: strKind = "多"
        End Select
        Printer.Print Format(d, "yyyy/mm"), DateDiff("d", d, DateAdd("m", 1, d)), strKind, Format(lngQty, "@@@@")
        lngAll = lngAll + lngQty
        d = DateAdd("m", 1, d)
    Next i
    Printer.Print
    Printer.Print "合計"; Spc(2); lngAll; "（平均 "; Format(lngAll / 24, "0.0"); "）"
    Printer.EndDoc
End Sub
