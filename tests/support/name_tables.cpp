#include "name_tables.h"

QStringList nameOrderTable()
{
    // Upper-cased code units, shorter first.
    return {"a/1.png", "a.b.png", "ab.png", "a_b.png", "b.png", "C.png", "frame_10.png",
            "frame_2.png", "Z.png", "[x].png", "_x.png", "\u00e9.png", "\u00df.png"};
}

QList<NameTree> equivalenceTrees()
{
    QList<NameTree> trees;
    QStringList many;
    const char* const suffixes[] = {"png", "PNG", "Jpg", "jpeg", "JPEG", "bmp", "BmP", "gif", "txt", "png~", "jpgx", ""};
    for (int i = 0; i < 240; ++i)
        many.append(QStringLiteral("d%1/f%2.%3").arg(i % 7).arg(i * 7919 % 1000).arg(QLatin1String(suffixes[i % 12])));
    trees.append({QStringLiteral("many names in several folders"), many});
    trees.append({QStringLiteral("hidden entries and look-alike names"),
                  {".a.png", ".hid/b.png", "x.png/c.JPG", "x.png/.d.bmp", "e.PNG.bak", ".png", "f..png", "g.JPEG"}});
    trees.append({QStringLiteral("deep nesting"), {"a/b/c/d/1.bmp", "a/2.png", "a/b/3.jpg", "z/4.jpeg", "5.PNG"}});
    // Long shared beginnings in folders of hundreds, files beside subfolders, in both letter cases.
    QStringList thousands;
    for (int i = 0; i < 3000; ++i)
        thousands.append(QStringLiteral("class_%1/%2_%3.%4")
                             .arg(i % 12, 3, 10, QLatin1Char('0'))
                             .arg(QLatin1String(i % 5 == 0 ? "sub/img" : (i / 12 % 2 == 0 ? "IMG" : "img")))
                             .arg(i * 7919 % 100000, 8, 10, QLatin1Char('0'))
                             .arg(QLatin1String(suffixes[i % 12])));
    trees.append({QStringLiteral("thousands in many folders"), thousands});
    // Hundreds in a folder, sorted otherwise than a few: eight units after the
    // shared beginning ("a.png" leaves none) tie, some names only by letter case.
    QStringList tying{QStringLiteral("a.png")};
    for (int i = 0; i < 600; ++i)
        tying.append(QStringLiteral("%1_%2.png").arg(QLatin1String(i % 3 == 0 ? "take" : "TAKE")).arg(i * 7919 % 1000));
    for (int i = 0; i < 20; ++i)
        tying.append(QStringLiteral("Take_%1.png").arg(i * 7919 % 1000));
    trees.append({QStringLiteral("hundreds whose first units tie"), tying});
    // Units past a byte, where upper-casing leaves Latin-1 (\u00ff, \u00b5) or
    // a name differs only at a later unit than a wide one ("\u0100" against "\u0102").
    QStringList wide;
    for (int i = 0; i < 400; ++i) {
        const QChar first[] = {QChar(0x3b1 + i % 20), QChar(0xff), QChar(0xb5), QChar(0x100 + i % 5), QLatin1Char('b')};
        wide.append(QString(first[i % 5]) + QStringLiteral("%1.jpg").arg(i * 7919 % 1000));
    }
    trees.append({QStringLiteral("hundreds of names past Latin-1"), wide});
    return trees;
}
