#!/usr/bin/env python3
# Writes the projects the render benchmark is measured with:
#   four_layers.vlp2     1920x1080, a group control over four moving, turning, scaling and
#                        fading figures, 60 frames
#   hundred_objects.vlp2 1920x1080, 100 small figures on 100 layers, 60 frames
import os

HERE = os.path.dirname(os.path.abspath(__file__))
SCENE = ("[scene.0]\r\nscene=0\r\nname=Root\r\nvideo.width=1920\r\nvideo.height=1080\r\n"
         "video.rate=30\r\nvideo.scale=1\r\naudio.rate=48000\r\ncursor.frame=0\r\n"
         "display.frame=0\r\ndisplay.layer=0\r\ndisplay.zoom=10000\r\ndisplay.order=0\r\n"
         "display.camera=\r\n")
LAST = 59


def figure(index, layer, size, colour, output):
    lines = [f"[{index}]", f"layer={layer}", f"frame=0,{LAST}",
             f"[{index}.0]", "effect.name=図形", "図形の種類=四角形", f"サイズ={size:.2f}",
             f"色={colour}", f"[{index}.1]", "effect.name=標準描画"]
    lines += [f"{key}={value}" for key, value in output]
    return "\r\n".join(lines) + "\r\n"


def write(name, body):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(("[project]\r\n" + SCENE + body).encode("utf-8"))


group = ("[0]\r\nlayer=0\r\nframe=0,%d\r\n[0.0]\r\neffect.name=グループ制御\r\n"
         "Z軸回転=0.00,30.00,直線移動,0\r\n" % LAST)
colours = ["ff4040", "40ff40", "4040ff", "ffff40"]
body = group
for i in range(4):
    body += figure(i + 1, i + 1, 400, colours[i], [
        ("X", f"{-600 + i * 100:.2f},{600 - i * 100:.2f},直線移動,0"),
        ("Y", f"{-200 + i * 100:.2f},直線移動,0"),
        ("Z軸回転", "0.00,360.00,直線移動,0"),
        ("拡大率", "50.000,150.000,直線移動,0"),
        ("透明度", "0.00,50.00,直線移動,0"),
    ])
write("four_layers.vlp2", body)

body = ""
for i in range(100):
    x = -900 + (i % 10) * 200
    y = -450 + (i // 10) * 100
    body += figure(i, i, 40, "%02x80c0" % (i * 2), [("X", f"{x:.2f}"), ("Y", f"{y:.2f}")])
write("hundred_objects.vlp2", body)
