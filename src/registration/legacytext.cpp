// SPDX-License-Identifier: MIT
#include "registration/legacytext.h"

#include <QStringDecoder>

namespace tarnwell {

namespace {

bool decodeStrictly(QStringConverter::Encoding encoding, QByteArrayView bytes, QString *out)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    *out = std::move(text);
    return true;
}

} // namespace

QString decodeToolText(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QString text;
    if (decodeStrictly(QStringConverter::Utf8, view, &text))
        return text;
    if (decodeStrictly(QStringConverter::System, view, &text))
        return text;
    return QString::fromLatin1(view);
}

} // namespace tarnwell
