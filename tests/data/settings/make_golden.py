#!/usr/bin/env python3
"""Writes the expected files of a fresh data folder, spelled out line by line
from the format tables (not produced by the program's writer).

The language strings the defaults read are set by the tests to these texts:
20 Left, 21 Right, 22 Middle, 23 Forward, 24 Back, 42 DPI Loop,
85..89 the profile names below, 100 Wellen. The data folder is the relative
folder "ZeltraData\\"."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = "ZeltraData\\"
NAMES = ["配置1", "配置2", "配置3", "Profil Ä4", "Profil \U0001F600" + "5"]
BUTTONS = [("Left", "100100"), ("Right", "100200"), ("Middle", "100400"),
           ("Forward", "101000"), ("Back", "100800"), ("DPI Loop", "400100")]
LIGHTING = "Wellen"


def write(name, lines):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(b"\xff\xfe")
        f.write("".join(l + "\n" for l in lines).encode("utf-16-le"))


def config():
    lines = ["[Setting]",
             "NeedPassword=1",
             "Sensor=0x3311",
             "PreST=0xCCEE",
             "Mac_ID=0xFFFFFFFF",
             "DataChange=0x1234",
             "CurrentProfile=0",
             "ProfileShowCount=3",
             "ProfileShowList0=0",
             "ProfileShowList1=1",
             "ProfileShowList2=2",
             "ProfileShowList3=3",
             "ProfileShowList4=4"]
    lines += ["ProfileSlot%dURL=%sconfig\\default%d.psf" % (i, DATA, i) for i in range(5)]
    return lines


def profile(i):
    lines = ["[Setting]",
             "ProfileName=" + NAMES[i],
             "GameFile0=",
             "GameFile1=",
             "GameFile2=",
             "DoubleClickSpeed=6",
             "PointerSpeed=5",
             "AccelerationEnable=1",
             "ScrollWheelSpeed=2",
             "ScrollWheelPageEnable=0",
             "TiltSpeed=2",
             "Sensitivity_X=4",
             "Sensitivity_Y=4",
             "XYSynchronous=1",
             "X_DPI=1",
             "Y_DPI=1",
             "MoveLightingOnOffMode=0",
             "PowerDownTime=6",
             "LiftDetectionHeight=2",
             "KeyDebounce=12",
             "MotionWakeup=1",
             "DPIOffOnFlagValue=3F"]
    # Sensor 0x3311: 7, 11, 15, 23, 49, 119, 99, 59
    for n, v in enumerate(["0007", "000B", "000F", "0017", "0031", "0077", "0063", "003B"], 1):
        lines.append("\tXYSetting%dValue=%s" % (n, v))
    lines.append("\tCurrentDPILevelValue=01")
    for n, c in enumerate(["FF0000", "00FF00", "0000FF", "FFFF00", "00FFFF", "FF00FF", "FFFFFF", "FFFFFF"]):
        lines.append("\tDPILevelIndication%dValuer=%s" % (n, c))
    lines += ["\tAngleSnapValue=00",
              "\tLiftDetectionValue=02",
              "PollingRateName=1000HZ",
              "\tPollingRateValue=030000",
              "Lighting1Name=" + LIGHTING,
              "\tLighting1ModeValue=010000",
              "\tLighting1OffOn=01",
              "\tLighting1Speed=01|01|01|01|01|01|01|01|01|01",
              "\tLighting1Brightness=01|01|01|03|01|01|01|01|01|01"]
    off = "00|00|00|00|00|00|00|00|00|00;"
    selected = (off + off +
                "01|01|01|01|01|01|01|00|00|00;" +
                "01|00|00|00|00|00|00|00|00|00;" +
                off + off +
                "01|01|01|01|01|01|01|01|00|00;" +
                "01|01|00|00|00|00|00|00|00|00;" +
                off + off)
    lines.append("\tLighting1ColorSelected=" + selected)
    black = "000000|000000|000000|000000|000000|000000|000000|000000|000000|000000;"
    colours = (black + black +
               "FF0000|00FF00|0000FF|00FFFF|FFFF00|FF00FF|FFFFFF|000000|000000|000000;" +
               "FF00FF|000000|000000|000000|000000|000000|000000|000000|000000|000000;" +
               black + black +
               "FF0000|00FF00|0000FF|FFFF00|00FFFF|FA00FA|FFFFFF|FA46FF|000000|000000;" +
               "00FF00|FA006A|000000|000000|000000|000000|000000|000000|000000|000000;" +
               black + black)
    lines.append("\tLighting1FixedColor=" + colours)
    lines += ["\tLighting1Direction=00|01|00|00|00|00|00|00|00|00",
              "Lighting2Name=" + LIGHTING,
              "\tLighting2ModeValue=010000",
              "\tLighting2OffOn=00",
              "\tLighting2Speed=00",
              "\tLighting2Brightness=00",
              "\tLighting2FixedColor=000000"]
    for k, (name, code) in enumerate(BUTTONS):
        lines += ["Key%dName=%s" % (k, name),
                  "\tKey%dValue=%s" % (k, code),
                  "\tMacroKeyIndex=0",
                  "\tMacroKey%dName=" % k,
                  "\t\tMacroActionNum=0",
                  "\t\tAllAction=" + "0" * 2688]
    assert len(lines) == 93
    return lines


write("fresh_config.ini", config())
for i in range(5):
    write("fresh_default%d.psf" % i, profile(i))
