// Draws generated classes' pages into bitmaps, as a program using them would on a printer:
//   mono harness.exe WIDTH HEIGHT DPI CLASS OUT.png [CLASS OUT.png ...]
using System;
using System.Drawing;
using System.Drawing.Imaging;
using System.Globalization;
using System.Reflection;

public static class Harness
{
    public static int Main(string[] args)
    {
        int width = int.Parse(args[0]), height = int.Parse(args[1]);
        float dpi = float.Parse(args[2], CultureInfo.InvariantCulture);
        for (int i = 3; i + 1 < args.Length; i += 2)
        {
            MethodInfo print = Type.GetType(args[i]).GetMethod("F_DataPrint");
            using (Bitmap page = new Bitmap(width, height, PixelFormat.Format24bppRgb))
            {
                page.SetResolution(dpi, dpi);
                using (Graphics g = Graphics.FromImage(page))
                {
                    g.Clear(Color.White);
                    print.Invoke(null, new object[] { g, null });
                }
                page.Save(args[i + 1], ImageFormat.Png);
            }
        }
        return 0;
    }
}
