' A label sheet in twips, two across and five down, each label drawn by a CLabel.
Sub F_DataPrint()
    Dim lbl As CLabel, n As Integer, sngX As Single, sngY As Single
    Set lbl = New CLabel
    Do While Not rs.EOF
        sngX = 567 + (n Mod 2) * 5670
        sngY = 567 + ((n \ 2) Mod 5) * 2835
        lbl.Name = rs!Name
        lbl.Zip = rs!Zip
        lbl.Address = rs!Address
        lbl.PrintAt sngX, sngY
        n = n + 1
        rs.MoveNext
        If n Mod 10 = 0 And Not rs.EOF Then Printer.NewPage
    Loop
    Printer.EndDoc
    Debug.Print "labels: " & lbl.Count
End Sub
