#include "NativeName.h"

#include <QStringDecoder>

namespace zanto {

QString displayName(const std::string& native)
{
    const QByteArrayView bytes(native.data(), static_cast<qsizetype>(native.size()));
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    QStringDecoder sjis("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (sjis.isValid()) {
        QString text = sjis(bytes);
        if (!sjis.hasError())
            return text;
    }
    return QString::fromLatin1(bytes);
}

std::string nativeName(const QString& text)
{
    return text.toStdString();
}

} // namespace zanto
