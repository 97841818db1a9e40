#include "copied_log.h"

namespace kst {

namespace {

const QString PlainText = QStringLiteral("text/plain");

} // namespace

CopiedLog::CopiedLog(LogStore copied, QString fontFamily, std::vector<CopyFormat> formats)
    : copied_(std::move(copied)), fontFamily_(std::move(fontFamily)), formats_(std::move(formats)) {
}

QStringList CopiedLog::formats() const {
    QStringList all{PlainText};
    for (const CopyFormat& format : formats_)
        all << format.mimeTypes;
    return all;
}

QVariant CopiedLog::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType == PlainText) {
        const QString text = copied_.text(0, copied_.length());
        return type.id() == QMetaType::QByteArray ? QVariant(text.toUtf8()) : QVariant(text);
    }
    for (const CopyFormat& format : formats_)
        if (format.mimeTypes.contains(mimeType))
            return format.build(copied_, fontFamily_);
    return {};
}

} // namespace kst
