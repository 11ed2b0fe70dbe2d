#include "shell/FontFaces.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace {

void substitute(const QString &wanted, const QStringList &candidates)
{
    if (QFontDatabase::hasFamily(wanted))
        return;
    for (const QString &family : candidates) {
        if (QFontDatabase::hasFamily(family)) {
            QFont::insertSubstitution(wanted, family);
            return;
        }
    }
}

}

void installFontSubstitutions()
{
    const QStringList proportional{ QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
        QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP") };
    const QStringList monospaced{ QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
        QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("IPAPGothic") };
    substitute(ProportionalGothic, proportional);
    substitute(QStringLiteral("MS PGothic"), proportional);
    substitute(MonospacedGothic, monospaced);
    substitute(QStringLiteral("MS Gothic"), monospaced);
}

QFont proportionalGothic(int pixelSize)
{
    QFont font(ProportionalGothic);
    font.setPixelSize(pixelSize);
    return font;
}
