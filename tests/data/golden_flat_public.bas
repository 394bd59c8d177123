Public Sub F_DataPrint()
	'変数宣言
	Dim objOutSrc           As Object       '出力先
	Dim lngAMIClr(5)        As Long         '網掛け色
	Dim strTxt              As String       'ﾃｷｽﾄ処理用
	Dim objPic              As Object       '画像読込用
	Dim sngSize             As Single       '文字列ｻｲｽﾞ計算用
	Dim sngI		As Single
	Dim sngIGain		As Single
	Dim sngIPos		As Single
	Dim sngJ		As Single
	Dim sngJGain		As Single
	Dim sngJPos		As Single
	'定数宣言
	lngAMICLR(0) = RGB(255, 255, 255)	'なし
	lngAMICLR(1) = RGB(224, 224, 224)	'色１
	lngAMICLR(2) = RGB(192, 192, 192)	'色２
	lngAMICLR(3) = RGB(160, 160, 160)	'色３
	lngAMICLR(4) = RGB(128, 128, 128)	'色４
	lngAMICLR(5) = RGB(64, 128, 255)	'色５
	'出力先設定
	Set objOutSrc = Printer
	'用紙設定
	objOutSrc.PaperSize = VbPRPSA4
	objOutSrc.Orientation = VbPRORLandscape
	objOutSrc.ScaleMode = VbMillimeters
	objOutSrc.DrawMode = VbMaskPen
	'項目印刷設定
'ベースレイヤー
	'表題
	objOutSrc.Font.Name = "ＭＳ ゴシック"
	objOutSrc.Font.Size = 18
	objOutSrc.Font.Bold = True
	objOutSrc.CurrentX = 20
	objOutSrc.CurrentY = 15
	objOutSrc.Print "請求書";
	'日付
	objOutSrc.ForeColor = RGB(255, 0, 0)
	strTxt = "2026/12/07"
	sngSize = (objOutSrc.TextWidth(strTxt) - objOutSrc.TextWidth(rs!Date))
	objOutSrc.CurrentX = 150 + sngSize
	objOutSrc.CurrentY = 15
	objOutSrc.Print rs!Date;
	'区切り
	objOutSrc.DrawStyle = 1
	objOutSrc.DrawWidth = 2
	objOutSrc.Line (15, 30)-(195, 30.5), RGB(0, 0, 255)
	'外枠
	objOutSrc.DrawStyle = 0
	objOutSrc.DrawWidth = 1
	Call F_RndBox(objOutSrc, 15, 40,195, 120, 3.000, RGB(0, 0, 0))
	'網掛け枠
	objOutSrc.DrawStyle = 4
	objOutSrc.DrawWidth = 1
	objOutSrc.FillColor = lngAMICLR(2)
	objOutSrc.FillStyle = vbSolid
	objOutSrc.Line ( 15, 125)-(100, 140 ), RGB(0, 0, 0), B
	objOutSrc.FillStyle = vbFSTransparent
	'丸
	objOutSrc.DrawStyle = 0
	objOutSrc.DrawWidth = 1
	objOutSrc.Circle ( 40, 150), 20, RGB(0, 0, 0), , , 1
	objOutSrc.Font.Bold = False
	objOutSrc.ForeColor = RGB(0, 0, 0)
'明細レイヤー
	'明細(開始)
	sngIGain = 6.5
	For sngI= 0 To 9
		sngIPos = sngI * sngIGain
		'列(開始)
		sngJGain = 40
		For sngJ= 0 To 2
			sngJPos = sngJ * sngJGain
			'品名
			objOutSrc.Font.Name = "ＭＳ 明朝"
			objOutSrc.Font.Size = 10.5
			strTxt = "He said ""hi"""
			sngSize = (objOutSrc.TextWidth(strTxt) - objOutSrc.TextWidth("出力ﾃﾞｰﾀ")) / 2
			objOutSrc.CurrentX = 20 + sngSize + sngJPos
			objOutSrc.CurrentY = 45 + sngIPos
			objOutSrc.Print "出力ﾃﾞｰﾀ";
			'印
			objOutSrc.DrawStyle = 2
			objOutSrc.DrawWidth = 1
			objOutSrc.FillColor = lngAMICLR(3)
			objOutSrc.FillStyle = vbSolid
			objOutSrc.Circle ( 120 + sngJPos, 60 + sngIPos), 20, RGB(0, 128, 0), , , 0.5
			objOutSrc.FillStyle = VbFSTransparent
			Set objPic = LoadPicture("C:\forms\logo.bmp")
			objOutSrc.PaintPicture objPic, 160 + sngJPos, 50 + sngIPos, , , , , , , vbSrcAnd
		'列(終了)
		Next sngJ
		'金額
		objOutSrc.Font.Italic = True
		objOutSrc.Font.UnderLine = True
		strTxt = "99,999"
		sngSize = (objOutSrc.TextWidth(strTxt) - objOutSrc.TextWidth("出力ﾃﾞｰﾀ"))
		objOutSrc.CurrentX = 60 + sngSize
		objOutSrc.CurrentY = 45 + sngIPos
		objOutSrc.Print "出力ﾃﾞｰﾀ";
		objOutSrc.Font.Italic = False
		objOutSrc.Font.UnderLine = False
	'明細(終了)
	Next sngI
	'印刷終了
	objOutSrc.EndDoc
	objOutSrc.DrawMode = VbCopyPen
End Sub
Public Sub F_RndBox(prmCnt As Object, prmX1 as Single, prmY1 as Single, prmX2 as Single, prmY2 as Single , sngKei As Single, lngClr As Long)
	On Error Resume Next
	'変数宣言
	Const dblPi = 3.1415926     '円周率
	'
	'角を描画
	prmCnt.Circle (prmX1 + sngKei, prmY1 + sngKei), sngKei, lngClr, dblPi * 0.5, dblPi * 1
	prmCnt.Circle (prmX1 + sngKei, prmY2 - sngKei), sngKei, lngClr, dblPi * 1, dblPi * 1.5
	prmCnt.Circle (prmX2 - sngKei, prmY2 - sngKei), sngKei, lngClr, dblPi * 1.5, dblPi * 2
	prmCnt.Circle (prmX2 - sngKei, prmY1 + sngKei), sngKei, lngClr, 0, dblPi * 0.5
	'ﾗｲﾝ部を描画
	prmCnt.Line (prmX1 + sngKei, prmY1)-(prmX2 - sngKei, prmY1), lngClr
	prmCnt.Line (prmX1, prmY1 + sngKei)-(prmX1, prmY2 - sngKei), lngClr
	prmCnt.Line (prmX1 + sngKei, prmY2)-(prmX2 - sngKei, prmY2), lngClr
	prmCnt.Line (prmX2, prmY1 + sngKei)-(prmX2, prmY2 - sngKei), lngClr
End Sub
