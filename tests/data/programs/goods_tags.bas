' 商品タグ：品名を全角にそろえ、バイト数で切りそろえて、一枚に四つ。
Option Explicit

Private Type Tag
    Code As String * 8
    Name As String
    Price As Long
End Type

Sub F_DataPrint()
    Dim Tags As New Collection, t As Variant, k As Integer
    Dim strName As String, strCode As String
    Tags.Add Array3("4901234567", "ﾎﾞｰﾙﾍﾟﾝ 黒 0.5mm ﾉｯｸ式", 120)
    Tags.Add Array3("4909876543", "ﾉｰﾄ A5 方眼 ﾘﾝｸﾞ", 380)
    Tags.Add Array3("4900000001", "消しゴム", 80)
    Printer.ScaleMode = vbMillimeters
    For Each t In Tags
        strName = StrConv(t.Name, vbWide)
        ' 18 バイトまで：シフトJISで数えて切る
        strName = StrConv(LeftB(StrConv(strName, vbFromUnicode), 18), vbUnicode)
        Printer.Line (10 + k * 48, 10)-Step(45, 30), , B
        Printer.FontSize = 9
        Printer.CurrentX = 12 + k * 48: Printer.CurrentY = 12
        Printer.Print strName
        Printer.CurrentX = 12 + k * 48
        Printer.Print "[" & t.Code & "] " & LenB(StrConv(strName, vbFromUnicode)) & "B"
        Printer.FontSize = 14
        Printer.CurrentX = 12 + k * 48
        Printer.Print Format(t.Price, "#,##0") & "円"
        k = k + 1
    Next
    Printer.EndDoc
End Sub

Function Array3(ByVal strCode As String, ByVal strName As String, ByVal lngPrice As Long) As Object
    Dim x As New CTag
    x.Code = strCode: x.Name = strName: x.Price = lngPrice
    Set Array3 = x
End Function
