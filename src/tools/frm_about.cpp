#include "frm_about.h"

#include "link_label.h"
#include "platform/desktop/bgr_color.h"
#include "tool_design.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace kst {

namespace {

constexpr quint32 Blue = 0xFF0000;
constexpr quint32 Green = 0xFF00;
constexpr quint32 Red = 0xFF;

QLabel* text(QWidget* parent, const QString& name, const QString& caption, int top, int height) {
    auto* label = placed(new QLabel(caption, parent), name, 240, top, 6870, height);
    label->setWordWrap(true);
    return label;
}

QLabel* linkText(QWidget* parent, const QString& name, const QString& address, int top) {
    QLabel* label = text(parent, name, address, top, 255);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colorFromBgr(Blue));
    label->setPalette(palette);
    return label;
}

// A link in the site's blue that turns green under the mouse and red while pressed.
LinkLabel* linkOf(QLabel* label, const QString& path) {
    auto* link = new LinkLabel(label);
    link->setNormalColor(Blue);
    link->setHoverColor(Green);
    link->setPressedColor(Red);
    link->setHoverBold(false);
    link->setLinkPath(path);
    return link;
}

void separator(QWidget* parent, const QString& name, int top) {
    auto* line = placed(new QFrame(parent), name, 240, top, 6870, 30);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
}

} // namespace

const QString& frmAbout::productSite() {
    static const QString site = QStringLiteral("https://kestrelon.example.org/");
    return site;
}

const QString& frmAbout::makerSite() {
    static const QString site = QStringLiteral("https://www.example.com/");
    return site;
}

frmAbout::frmAbout(QWidget* owner, const QPixmap& picture, SystemInfoLauncher sysInfo)
    : QWidget(owner, Qt::Window), sysInfo_(std::move(sysInfo)) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    useDesignFont(this);
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(toPixels(7350), toPixels(6285));

    auto* image = placed(new QLabel(this), QStringLiteral("Image1"), 240, 240, 960, 960);
    image->setPixmap(picture.scaled(image->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    QLabel* name = placed(new QLabel(QStringLiteral("Kestrelon"), this), QStringLiteral("Label5"),
                          1440, 240, 5670, 540);
    QFont serif(QStringLiteral("serif"), 20, QFont::Bold);
    serif.setStyleHint(QFont::Serif);
    name->setFont(serif);
    placed(
        new QLabel(QStringLiteral("Serial line terminal for RS-232, RS-485, RS-422 and TTL"), this),
        QStringLiteral("Label1"), 1440, 840, 5670, 255);
    placed(new QLabel(QStringLiteral("Version ") + QStringLiteral(KST_VERSION), this),
           QStringLiteral("Label4"), 1440, 1140, 5670, 255);
    separator(this, QStringLiteral("Frame1"), 1500);
    text(this, QStringLiteral("Label2"),
         QStringLiteral("Tests, debugs and monitors serial lines: sends commands, answers "
                        "received data automatically, runs macros and shows the traffic in "
                        "five notations."),
         1680, 720);
    QLabel* site = linkText(this, QStringLiteral("Label3"), productSite(), 2580);
    QLabel* maker = linkText(this, QStringLiteral("Label10"), makerSite(), 2940);
    separator(this, QStringLiteral("Frame2"), 4560);

    Command2_ = placed(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("Command2"),
                       6060, 4770, 1065, 405);
    Command3_ = placed(new QPushButton(QStringLiteral("System Info"), this),
                       QStringLiteral("Command3"), 6060, 5310, 1065, 405);
    // Outside the window's client area: it is there for Esc.
    Command1_ = placed(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("Command1"),
                       8265, 4770, 1065, 405);
    Command2_->setDefault(true);
    connect(Command2_, &QPushButton::clicked, this, &QWidget::close);
    connect(Command1_, &QPushButton::clicked, this, &QWidget::close);
    connect(Command3_, &QPushButton::clicked, this, [this] { StartSysInfo(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, Command1_, &QPushButton::click);

    SetupLinks(site, maker);
}

void frmAbout::SetupLinks(QLabel* site, QLabel* maker) {
    objLink1_ = linkOf(site, productSite());
    objLink2_ = linkOf(maker, makerSite());
}

} // namespace kst
