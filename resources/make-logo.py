#!/usr/bin/python3
"""Draws Dovi's logo (dovilogo.jpg) and application icon (dovi.png)."""
from PIL import Image, ImageDraw, ImageFont

FONT = '/usr/share/fonts/truetype/dejavu/DejaVuSans'

def frames(draw, x, y, w, h, step, width):
    for off, col in [(2 * step, (230, 200, 120)), (step, (240, 150, 90)), (0, (250, 250, 245))]:
        draw.rectangle([x + off, y + off // 2, x + off + w, y + off // 2 + h],
                       fill=col, outline=(30, 30, 40), width=width)

logo = Image.new('RGB', (350, 200))
d = ImageDraw.Draw(logo)
for y in range(200):
    t = y / 199
    d.line([(0, y), (350, y)], fill=(int(20 + 30 * t), int(40 + 60 * t), int(90 + 90 * t)))
frames(d, 40, 40, 110, 80, 12, 2)
d.polygon([(44, 116), (80, 78), (104, 104), (120, 90), (146, 116)], fill=(60, 140, 90))
d.ellipse([118, 50, 134, 66], fill=(250, 200, 60))
d.text((182, 62), "Dovi", font=ImageFont.truetype(FONT + '-Bold.ttf', 52), fill=(255, 255, 255))
small = ImageFont.truetype(FONT + '.ttf', 15)
d.text((184, 124), "image browser", font=small, fill=(220, 230, 255))
d.text((184, 144), "& batch processor", font=small, fill=(220, 230, 255))
logo.save('dovilogo.jpg', quality=92)

icon = Image.new('RGBA', (256, 256), (0, 0, 0, 0))
di = ImageDraw.Draw(icon)
di.rounded_rectangle([8, 8, 248, 248], radius=40, fill=(40, 80, 160, 255))
frames(di, 40, 60, 140, 100, 18, 3)
di.polygon([(44, 156), (90, 104), (120, 138), (140, 120), (176, 156)], fill=(60, 140, 90))
di.ellipse([140, 74, 162, 96], fill=(250, 200, 60))
icon.save('dovi.png')
