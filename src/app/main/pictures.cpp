#include "app/main/pictures.h"

#include <QHash>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <array>

// The resources live in a static library; they must be registered by hand.
static void registerResources() {
    Q_INIT_RESOURCE(kestrelon);
}

namespace kst::pictures {

namespace {

// Each picture is drawn once: the status ball and the LEDs change with every block a
// busy line brings, and drawing them from their vector form each time costs more than
// the rest of their update.
QPixmap render(const QString& name, QSize size) {
    static const bool registered = (registerResources(), true);
    Q_UNUSED(registered);
    static QHash<QString, QPixmap> drawn;
    const QString key =
        name + u'@' + QString::number(size.width()) + u'x' + QString::number(size.height());
    if (const auto known = drawn.constFind(key); known != drawn.constEnd())
        return *known;
    QSvgRenderer renderer(QStringLiteral(":/kst/") + name);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    drawn.insert(key, pixmap);
    return pixmap;
}

QIcon icon(const QString& name) {
    QIcon result;
    for (int side : {16, 24, 32})
        result.addPixmap(render(name, QSize(side, side)));
    return result;
}

constexpr std::array<const char*, ToolbarImageCount> ToolbarFiles = {
    "01-save", "02-help",  "03-disconnected", "04-connected", "05-autoresp-off", "06-autoresp-on",
    "07-run",  "08-pause", "09-stop",         "10-single",    "11-continuous"};

constexpr std::array<const char*, StatusImageCount> StatusFiles = {"closed", "ready", "busy"};

} // namespace

QIcon toolbarImage(int index) {
    if (index < 1 || index > ToolbarImageCount)
        return {};
    return icon(QStringLiteral("toolbar/%1.svg").arg(ToolbarFiles[static_cast<size_t>(index - 1)]));
}

QPixmap statusImage(int index) {
    if (index < 1 || index > StatusImageCount)
        return {};
    return render(
        QStringLiteral("status/ball-%1.svg").arg(StatusFiles[static_cast<size_t>(index - 1)]),
        QSize(16, 16));
}

QPixmap led(bool on) {
    return render(on ? QStringLiteral("led/on.svg") : QStringLiteral("led/off.svg"), QSize(13, 13));
}

QPixmap wiring(bool fullDuplex) {
    return fullDuplex ? render(QStringLiteral("wiring/full-duplex.svg"), QSize(360, 150))
                      : render(QStringLiteral("wiring/half-duplex.svg"), QSize(360, 130));
}

QPixmap splash() {
    return render(QStringLiteral("splash.svg"), QSize(480, 280));
}

QIcon appIcon() {
    return icon(QStringLiteral("kestrel.svg"));
}

} // namespace kst::pictures
