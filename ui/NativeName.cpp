#include "NativeName.h"

#include <QStringDecoder>

namespace zanto {

QString decodeJapanese(QByteArrayView bytes, bool strict)
{
    {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    QStringDecoder sjis("Shift_JIS");
    if (sjis.isValid()) {
        QString text = sjis(bytes);
        if (!strict || !sjis.hasError())
            return text;
    }
    return QString::fromLatin1(bytes);
}

QString displayName(const std::string& native)
{
    return decodeJapanese(QByteArrayView(native.data(), static_cast<qsizetype>(native.size())), true);
}

std::string nativeName(const QString& text)
{
    return text.toStdString();
}

namespace {
const QString kBytesMarker = QStringLiteral("zanto-bytes:");
} // namespace

namespace {
QString readName(const std::string& native)
{
    return displayName(native).normalized(QString::NormalizationForm_C);
}
} // namespace

std::string unicodeKey(const std::string& native)
{
    return readName(native).toStdString();
}

std::string caseFoldedKey(const std::string& native)
{
    // Folding may leave a letter and its mark apart again.
    return readName(native).toCaseFolded().normalized(QString::NormalizationForm_C).toStdString();
}

QString storablePath(const std::string& native)
{
    const QString text = displayName(native);
    if (nativeName(text) == native && !text.startsWith(kBytesMarker))
        return text;
    return kBytesMarker + QString::fromLatin1(QByteArray::fromStdString(native).toPercentEncoding("/"));
}

std::string pathFromStorable(const QString& stored)
{
    if (!stored.startsWith(kBytesMarker))
        return nativeName(stored);
    return QByteArray::fromPercentEncoding(stored.mid(kBytesMarker.size()).toLatin1()).toStdString();
}

} // namespace zanto
