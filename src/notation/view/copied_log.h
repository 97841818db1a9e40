#pragma once

#include "log_store.h"

#include <QMimeData>
#include <QStringList>
#include <functional>
#include <vector>

namespace kst {

// A form of copied log text beside plain text, which a layer above adds (the log as rich
// text, written by the storage's writer): its MIME types, and how it is built from the
// copied text and the family of the view's font.
struct CopyFormat {
    QStringList mimeTypes;
    std::function<QByteArray(const LogStore& copied, const QString& fontFamily)> build;
};

// Copied log text on the clipboard. It keeps the text and styles as compactly as the log
// does and builds a form only when a program asks for it (the form is not kept), so a
// copy costs about a byte a character and no time for forms that nobody pastes.
class CopiedLog : public QMimeData {
    Q_OBJECT
public:
    CopiedLog(LogStore copied, QString fontFamily, std::vector<CopyFormat> formats);

    QStringList formats() const override;
    const LogStore& copied() const { return copied_; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    LogStore copied_;
    QString fontFamily_;
    std::vector<CopyFormat> formats_;
};

} // namespace kst
