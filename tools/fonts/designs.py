"""The thirteen designs: each one's family name, the font it is made from, and the donors that
draw the characters its own font lacks, closest in style first. Paths are relative to the font
cache; a glob pattern names the subsets of one font that a web-font package splits it into."""
from collections import namedtuple

Source = namedtuple("Source", "name path face licence")
Design = namedtuple("Design", "number family source donors")

EXPO = "npm/@expo-google-fonts_{0}/package"
ZHI_MANG_XING = Source("Zhi Mang Xing", EXPO.format("zhi-mang-xing") + "/400Regular/ZhiMangXing_400Regular.ttf", 0,
                       EXPO.format("zhi-mang-xing") + "/LICENSE_FONT")
LIU_JIAN_MAO_CAO = Source("Liu Jian Mao Cao", EXPO.format("liu-jian-mao-cao") + "/LiuJianMaoCao_400Regular.ttf", 0,
                          None)  # the package has no licence file: the font's name table states it
UKAI = Source("AR PL UKai", "deb/fonts-arphic-ukai/usr/share/fonts/truetype/arphic/ukai.ttc", 0,
              "deb/fonts-arphic-ukai/usr/share/doc/fonts-arphic-ukai/copyright")
KOUZAN = "deb/fonts-kouzan-mouhitsu/usr/share/fonts/truetype/kouzan-mouhitsu/"
KOUZAN_LICENCE = "deb/fonts-kouzan-mouhitsu/usr/share/doc/fonts-kouzan-mouhitsu/copyright"
KOUZAN_GYOSHO = Source("Kouzan Mouhitsu Gyosho", KOUZAN + "kouzan-mouhitsu-gyosho.ttf", 0, KOUZAN_LICENCE)
KOUZAN_SOUSYO = Source("Kouzan Brush Font Sousyo", KOUZAN + "KouzanBrushFontSousyo.ttf", 0, KOUZAN_LICENCE)
LONG_CANG = Source("Long Cang", "npm/@fontsource_long-cang/package/files/long-cang-*-400-normal.woff2", 0,
                   "npm/@fontsource_long-cang/package/LICENSE")
MA_SHAN_ZHENG = Source("Ma Shan Zheng", EXPO.format("ma-shan-zheng") + "/400Regular/MaShanZheng_400Regular.ttf", 0,
                       EXPO.format("ma-shan-zheng") + "/LICENSE_FONT")
LXGW_WENKAI = Source("LXGW WenKai", "deb/fonts-lxgw-wenkai/usr/share/fonts/truetype/lxgw-wenkai/LXGWWenKai-Regular.ttf", 0,
                     "deb/fonts-lxgw-wenkai/usr/share/doc/fonts-lxgw-wenkai/copyright")
# 975 Maru SC (975圆体) is published under the SIL Open Font License 1.1 according to its package,
# which ships no licence text: the build writes one (see OFL_FROM).
MARU_975 = Source("975Maru SC", "npm/cn-fontsource-975-maru-sc-regular/package/*.woff2", 0, None)
M_PLUS_ROUNDED = Source("M PLUS Rounded 1c", EXPO.format("m-plus-rounded-1c") + "/400Regular/MPLUSRounded1c_400Regular.ttf", 0,
                        EXPO.format("m-plus-rounded-1c") + "/LICENSE_FONT")


def english(name, folder, file):
    return Source(name, EXPO.format(folder) + f"/400Regular/{file}", 0, EXPO.format(folder) + "/LICENSE_FONT")


HERR_VON_MUELLERHOFF = english("Herr Von Muellerhoff", "herr-von-muellerhoff", "HerrVonMuellerhoff_400Regular.ttf")
GREAT_VIBES = english("Great Vibes", "great-vibes", "GreatVibes_400Regular.ttf")
ALEX_BRUSH = english("Alex Brush", "alex-brush", "AlexBrush_400Regular.ttf")
PINYON_SCRIPT = english("Pinyon Script", "pinyon-script", "PinyonScript_400Regular.ttf")

DESIGNS = [
    Design(0, "青砚签名体", ZHI_MANG_XING, []),
    Design(1, "方正小篆体", UKAI, []),  # stand-in: no free small-seal face covers GB2312
    Design(2, "hakuyoxingshu7000", KOUZAN_GYOSHO, [ZHI_MANG_XING]),
    Design(3, "hakuyocaoshu7000", LIU_JIAN_MAO_CAO, []),
    Design(4, "青砚仿明星字体", LONG_CANG, [ZHI_MANG_XING]),
    Design(5, "草檀斋领袖字体", MA_SHAN_ZHENG, []),
    Design(6, "青砚蚕燕隶书(新春版)", LXGW_WENKAI, []),  # stand-in: no free clerical face covers GB2312
    Design(7, "创艺简细圆", MARU_975, [M_PLUS_ROUNDED]),
    Design(8, "方正黄草简体", KOUZAN_SOUSYO, [LIU_JIAN_MAO_CAO]),
    Design(9, "Kenya Swift", HERR_VON_MUELLERHOFF, [ALEX_BRUSH]),
    Design(10, "Amphi", GREAT_VIBES, []),
    Design(11, "Pavane", ALEX_BRUSH, []),
    Design(12, "CommercialScript BT", PINYON_SCRIPT, []),
]
CHINESE_DESIGNS = range(0, 9)

# The SIL Open Font License's text, for a font whose package states the licence but ships no text.
OFL_FROM = ZHI_MANG_XING.licence
