// Quillform が作った印刷プログラム（System.Drawing）。
// mcs -r:System.Drawing でコンパイルでき、Windows フォームやコンソールのプログラムから使えます。
using System;
using System.Drawing;
using System.Drawing.Drawing2D;
using System.Drawing.Printing;
using System.IO;

public static class QfPrint
{
    // 網掛け色
    public static readonly Color[] lngAMIClr =
    {
        Color.FromArgb(255, 255, 255),  // なし
        Color.FromArgb(224, 224, 224),  // 色１
        Color.FromArgb(192, 192, 192),  // 色２
        Color.FromArgb(160, 160, 160),  // 色３
        Color.FromArgb(128, 128, 128),  // 色４
        Color.FromArgb(64, 128, 255)  // 色５
    };

    // デザインのページを g に描きます。field は文字の差し込み式（"rs!請求先" など）を受け取り、
    // 印刷する値を返します。null を返すか field が null なら、デザインの文字を印刷します。
    public static void F_DataPrint(Graphics g, Func<string, string> field)
    {
        GraphicsState saved = g.Save();
        // ページの単位: ミリメートル
        g.PageUnit = GraphicsUnit.Millimeter;
        g.PageScale = 1f;
        cellX = 1f;
        cellY = 1f;
        // 重なった部分は後に描いたものが上になります（プリンタのインクの重なりとは違います）。
        // レイヤー: ベースレイヤー
        // 請求書番号
        Text(g, Value(field, "rs!請求書番号", "INV-0000"), "INV-0000", 0, 20f, 15f, "ＭＳ ゴシック", 16f, FontStyle.Bold, Color.FromArgb(0, 0, 0));
        // 顧客
        Text(g, Value(field, "Cust.顧客名", "顧客名"), "顧客名", 0, 20f, 28f, "ＭＳ 明朝", 12f, FontStyle.Regular, Color.FromArgb(0, 0, 255));
        // 備考
        Text(g, Value(field, "rs!備考", "備考"), "備考", 0, 20f, 36f, "ＭＳ 明朝", 10.5f, FontStyle.Regular, Color.FromArgb(0, 0, 0));
        // 線
        Line(g, 15f, 45f, 195f, 45f, Color.FromArgb(0, 0, 0), 2, 0);
        // 明細(開始)
        for (int sngI = 0; sngI <= 9; sngI++)
        {
            float sngIPos = sngI * 8f;
            // 枠
            Box(g, 15f, 48f + sngIPos, 195f, 56f + sngIPos, Color.FromArgb(0, 0, 0), 1, 0, null);
            // 品名
            Text(g, Value(field, Pass("Items(sngI).品名", "sngI", sngI), "品名"), "品名", 0, 20f, 50f + sngIPos, "ＭＳ 明朝", 10.5f, FontStyle.Regular, Color.FromArgb(0, 0, 0));
            // 金額
            Text(g, Value(field, Pass("Items(sngI).金額", "sngI", sngI), "99,999"), "99,999", 1, 150f, 50f + sngIPos, "ＭＳ 明朝", 10.5f, FontStyle.Regular, Color.FromArgb(0, 0, 0));
        }
        // 明細(終了)
        g.Restore(saved);
    }

    // PrintDocument の PrintPage に渡すと、デザインの文字のままページを印刷します。
    public static void PrintPage(object sender, PrintPageEventArgs e)
    {
        F_DataPrint(e.Graphics, null);
        e.HasMorePages = false;
    }
    // ここから下は描画の下請け。座標はページ単位、線の太さはプリンタのドット数。
    static float cellX = 1f, cellY = 1f;

    static float DotsPerUnit(Graphics g, bool down)
    {
        float dpi = down ? g.DpiY : g.DpiX;
        float perUnit;
        switch (g.PageUnit)
        {
            case GraphicsUnit.Point: perUnit = dpi / 72f; break;
            case GraphicsUnit.Inch: perUnit = dpi; break;
            case GraphicsUnit.Millimeter: perUnit = dpi / 25.4f; break;
            case GraphicsUnit.Document: perUnit = dpi / 300f; break;
            case GraphicsUnit.Display: perUnit = dpi / 100f; break;
            default: perUnit = 1f; break;
        }
        return perUnit * g.PageScale * (down ? cellY : cellX);
    }

    // Draws in device pixels; the caller's own transform stays.
    static void InPixels(Graphics g, Action<float, float> draw)
    {
        float dx = DotsPerUnit(g, false), dy = DotsPerUnit(g, true);
        GraphicsState state = g.Save();
        g.PageUnit = GraphicsUnit.Pixel;
        g.PageScale = 1f;
        draw(dx, dy);
        g.Restore(state);
    }

    static Pen MakePen(Color color, int width, int style)
    {
        Pen pen = new Pen(color, Math.Max(1, width));
        // Dashes for thin pens only, as on the printer: on and off in pixels.
        if (width <= 1)
        {
            switch (style)
            {
                case 1: pen.DashPattern = new float[] { 18f, 6f }; break;
                case 2: pen.DashPattern = new float[] { 3f, 3f }; break;
                case 3: pen.DashPattern = new float[] { 9f, 6f, 3f, 6f }; break;
                case 4: pen.DashPattern = new float[] { 9f, 3f, 3f, 3f, 3f, 3f }; break;
            }
        }
        else
        {
            pen.StartCap = LineCap.Round;
            pen.EndCap = LineCap.Round;
        }
        return pen;
    }

    static void Line(Graphics g, float x1, float y1, float x2, float y2, Color color, int width, int style)
    {
        InPixels(g, (dx, dy) =>
        {
            using (Pen pen = MakePen(color, width, style))
                g.DrawLine(pen, x1 * dx, y1 * dy, x2 * dx, y2 * dy);
        });
    }

    // A box; with a hatch colour its inside is filled first.
    static void Box(Graphics g, float x1, float y1, float x2, float y2, Color color, int width, int style, Color? hatch)
    {
        InPixels(g, (dx, dy) =>
        {
            RectangleF r = RectangleF.FromLTRB(Math.Min(x1, x2) * dx, Math.Min(y1, y2) * dy,
                                               Math.Max(x1, x2) * dx, Math.Max(y1, y2) * dy);
            if (hatch.HasValue)
                using (Brush brush = new SolidBrush(hatch.Value)) g.FillRectangle(brush, r);
            using (Pen pen = MakePen(color, width, style))
                g.DrawRectangle(pen, r.X, r.Y, r.Width, r.Height);
        });
    }

    // F_RndBox: four quarter arcs of radius k and the four edges between them.
    static void F_RndBox(Graphics g, float x1, float y1, float x2, float y2, float k, Color color, int width, int style)
    {
        InPixels(g, (dx, dy) =>
        {
            float kx = k * dx, ky = k * dy;
            float l = x1 * dx, t = y1 * dy, r = x2 * dx, b = y2 * dy;
            using (Pen pen = MakePen(color, width, style))
            {
                if (kx > 0 && ky > 0)
                {
                    g.DrawArc(pen, l, t, 2 * kx, 2 * ky, 180f, 90f);
                    g.DrawArc(pen, l, b - 2 * ky, 2 * kx, 2 * ky, 90f, 90f);
                    g.DrawArc(pen, r - 2 * kx, b - 2 * ky, 2 * kx, 2 * ky, 0f, 90f);
                    g.DrawArc(pen, r - 2 * kx, t, 2 * kx, 2 * ky, 270f, 90f);
                }
                g.DrawLine(pen, l + kx, t, r - kx, t);
                g.DrawLine(pen, l, t + ky, l, b - ky);
                g.DrawLine(pen, l + kx, b, r - kx, b);
                g.DrawLine(pen, r, t + ky, r, b - ky);
            }
        });
    }

    // A ring: the ellipse of radius r (the longer half-axis) and aspect (height / width).
    static void Ring(Graphics g, float cx, float cy, float r, float aspect, Color color, int width, int style, Color? hatch)
    {
        float rx = Math.Abs(r), ry = Math.Abs(r);
        if (aspect > 0 && aspect < 1) ry = rx * aspect;
        else if (aspect > 1) rx = ry / aspect;
        InPixels(g, (dx, dy) =>
        {
            RectangleF e = new RectangleF((cx - rx) * dx, (cy - ry) * dy, 2 * rx * dx, 2 * ry * dy);
            if (hatch.HasValue)
                using (Brush brush = new SolidBrush(hatch.Value)) g.FillEllipse(brush, e);
            using (Pen pen = MakePen(color, width, style)) g.DrawEllipse(pen, e);
        });
    }

    // A picture at its natural size, 96 of its pixels to the inch.
    static void Picture(Graphics g, string path, float x, float y, bool and)
    {
        if (!File.Exists(path)) return;
        using (Image image = Image.FromFile(path))
        {
            InPixels(g, (dx, dy) =>
            {
                float w = image.Width * g.DpiX / 96f, h = image.Height * g.DpiY / 96f;
                if (!and)
                {
                    g.DrawImage(image, x * dx, y * dy, w, h);
                    return;
                }
                // System.Drawing cannot AND a picture with the page (vbSrcAnd): its white is left
                // out instead, which is the same for black and white pictures.
                using (Bitmap keyed = new Bitmap(image))
                {
                    keyed.MakeTransparent(Color.White);
                    g.DrawImage(keyed, x * dx, y * dy, w, h);
                }
            });
        }
    }

    // A text's value: what field gives for its expression, else the text as designed.
    static string Value(Func<string, string> field, string expression, string text)
    {
        if (field == null || expression == null) return text;
        return field(expression) ?? text;
    }

    // A field expression inside a repeat block, with the pass number for the block's variable.
    static string Pass(string expression, string variable, int pass)
    {
        return System.Text.RegularExpressions.Regex.Replace(expression,
            @"(?<![\w])" + System.Text.RegularExpressions.Regex.Escape(variable) + @"(?![\w])",
            pass.ToString(System.Globalization.CultureInfo.InvariantCulture));
}

// A text with its top left at x, y; aligned right (1) or centred (2) by the width the
// designed text and the value differ by, as the Visual Basic source does.
static void Text(Graphics g, string value, string designed, int align, float x, float y,
                 string font, float points, FontStyle style, Color color) {
        InPixels(g, (dx, dy) =>
        {
            using (Font f = new Font(font, points * g.DpiY / 72f, style, GraphicsUnit.Pixel))
            using (Brush brush = new SolidBrush(color))
            {
                StringFormat format = StringFormat.GenericTypographic;
                float left = x * dx;
                if (align == 1 || align == 2)
                {
    float shift = g.MeasureString(designed, f, PointF.Empty, format).Width -
                  g.MeasureString(value, f, PointF.Empty, format).Width;
    left += align == 2 ? shift / 2 : shift;
                }
                float top = y * dy;
                string[] lines = value.Replace("\r\n", "\n").Replace('\r', '\n').Split('\n');
                foreach (string line in lines)
                {
    g.DrawString(line, f, brush, left, top, format);
    top += f.GetHeight(g);
                }
}
});
}
}
