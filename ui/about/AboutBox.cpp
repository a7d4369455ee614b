#include "ui/about/AboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "ui/common/ControlLook.h"
#include "ui/common/ProgramIcon.h"

namespace velmora {

namespace {

constexpr int ClientWidth = 343;
constexpr int ClientHeight = 222;
constexpr int IconSize = 32;

QLabel* Line(QWidget* parent, const char* name, const QString& text, const QRect& place) {
  QLabel* label = look::AddLabel(parent, text, place);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setWordWrap(true);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About"));
  setWindowIcon(ProgramIcon());
  setFixedSize(ClientWidth, ClientHeight);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(2);
  panel->setGeometry(8, 8, ClientWidth - 16, 161);

  for (const auto& [name, left] :
       {std::pair{"ProgramIcon", 8}, std::pair{"ProgramIcon2", panel->width() - 8 - IconSize}}) {
    auto* icon = new QLabel(panel);
    icon->setObjectName(QString::fromLatin1(name));
    icon->setPixmap(ProgramIconPixmap(IconSize));
    icon->setGeometry(left, 8, IconSize, IconSize);
  }

  QLabel* product =
      Line(panel, "ProductName", QStringLiteral("Velmora"), QRect(48, 8, panel->width() - 96, 34));
  QFont serif(QStringLiteral("Times New Roman"));
  serif.setPixelSize(24);
  serif.setBold(true);
  product->setFont(serif);
  look::SetTextColour(product, look::Red);

  Line(panel, "Version", QStringLiteral("Version 1.1"), QRect(8, 48, panel->width() - 16, 16));
  Line(panel, "Copyright",
       QStringLiteral("Particle dynamics in three dimensions: a cloud of gravons and taons, "
                      "integrated step by step and seen through a turning scope."),
       QRect(8, 72, panel->width() - 16, 44));
  Line(panel, "Comments",
       QStringLiteral("Written in C++ with Qt 6. Every quantity is an 80-bit extended real."),
       QRect(8, 120, panel->width() - 16, 32));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setGeometry((ClientWidth - 75) / 2, 180, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const QRect screen = QApplication::primaryScreen()->availableGeometry();
  move(screen.center() - rect().center());
}

}  // namespace velmora
