#include "ui/widgets/Form1Controls.h"

#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

#include "ui/widgets/BrowserWidgets.h"
#include "ui/widgets/EntryGrid.h"
#include "ui/widgets/Glyphs.h"
#include "ui/widgets/StatusPanels.h"

namespace vxa {

namespace {

constexpr int kClientWidth = 618;
constexpr int kClientHeight = 441;

// The program's one font, the application's: the layout was made for a
// 13-pixel sans serif; these fonts come closest, in order, and the style hint
// finds one where none of them is installed.
QFont ProgramFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    return font;
}

QFont StopFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("Nimbus Roman"), QStringLiteral("Times")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(23);
    return font;
}

template <class W>
W* Place(W* w, const char* name, const QString& accessibleName, int x, int y, int width,
         int height) {
    w->setObjectName(QString::fromLatin1(name));
    w->setAccessibleName(accessibleName);
    w->setGeometry(x, y, width, height);
    return w;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption,
                    const QString& accessibleName, int x, int y, int width, int height) {
    return Place(new QPushButton(caption, parent), name, accessibleName, x, y, width, height);
}

QFrame* Bevel(QWidget* parent, const char* name, QFrame::Shape shape, int x, int y, int width,
              int height) {
    auto* bevel = Place(new QFrame(parent), name, QStringLiteral("Divider"), x, y, width, height);
    bevel->setFrameShape(shape);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}

QLabel* Label(QWidget* parent, const char* name, const QString& caption, int x, int y, int width,
              int height) {
    return Place(new QLabel(caption, parent), name, caption, x, y, width, height);
}

// The archive side: the path bar, the grid with its Stop button over it, and
// the buttons below. Created in this order so that OpenBtn lies over
// OpenEdit and StopBtn over the grid.
void PlaceArchiveSide(QWidget* client, Form1Controls& f) {
    f.OpenEdit = Place(new QLineEdit(QStringLiteral("Open VXA file"), client), "OpenEdit",
                       QStringLiteral("Archive path"), 0, 3, 529, 24);
    f.OpenBtn = Button(client, "OpenBtn", QStringLiteral("..."),
                       QStringLiteral("Browse for archive"), 507, 5, 20, 20);
    f.ReloadBtn = Button(client, "ReloadBtn", QStringLiteral("Reopen"), QStringLiteral("Reopen"),
                         536, 3, 81, 24);
    f.Bevel1 = Bevel(client, "Bevel1", QFrame::HLine, 0, 32, 617, 2);
    f.Bevel2 = Bevel(client, "Bevel2", QFrame::VLine, 387, 33, 2, 385);
    f.Label1 =
        Label(client, "Label1",
              QStringLiteral("In-VXA list: (drag a file from file browser and drop it here)"), 8,
              37, 332, 16);
    f.Label2 = Label(client, "Label2", QStringLiteral("File browser:"), 392, 37, 76, 16);
    f.FileList =
        Place(new EntryGrid(client), "FileList", QStringLiteral("In-VXA list"), 0, 56, 385, 289);
    f.StopBtn = Button(client, "StopBtn", QStringLiteral("Stop"), QStringLiteral("Stop"), 104, 176,
                       169, 73);
    f.StopBtn->setFont(StopFont());
    f.StopBtn->setIcon(GlyphPair(QStringLiteral(":/vxa/stop.png")));
    f.StopBtn->setIconSize(QSize(16, 16));
    f.StopBtn->hide();
    f.SvhBtn = Button(client, "SvhBtn", QStringLiteral("Choose output VXA"),
                      QStringLiteral("Choose output VXA"), 0, 352, 129, 25);
    f.SvahBtn = Button(client, "SvahBtn", QStringLiteral("--== COMPILE ==--"),
                       QStringLiteral("Compile"), 136, 352, 129, 25);
    f.CanBtn = Button(client, "CanBtn", QStringLiteral("Cancel changes"),
                      QStringLiteral("Cancel changes"), 272, 352, 113, 25);
    f.Bevel3 = Bevel(client, "Bevel3", QFrame::HLine, 0, 383, 385, 2);
    f.SvsBtn = Button(client, "SvsBtn", QStringLiteral("Save to script"),
                      QStringLiteral("Save to script"), 0, 392, 193, 25);
    f.RsBtn = Button(client, "RsBtn", QStringLiteral("Run script..."), QStringLiteral("Run script"),
                     200, 392, 185, 25);
}

// The browser side: the path line, the list, the drives and the replace
// buttons, created after the archive side.
void PlaceBrowserSide(QWidget* client, Form1Controls& f) {
    f.PathText =
        Place(new QLabel(client), "PathText", QStringLiteral("Browser path"), 392, 56, 225, 20);
    f.PathText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    f.PathText->setTextFormat(Qt::PlainText);
    f.PathText->setFixedSize(225, 20);
    f.List1 =
        Place(new BrowserList(client), "List1", QStringLiteral("File browser"), 392, 78, 225, 283);
    f.DriveComboBox1 = Place(new DriveSelector(client), "DriveComboBox1", QStringLiteral("Drive"),
                             392, 363, 225, 22);
    f.RplBtn = Button(client, "RplBtn", QStringLiteral("<<  Replace  <<"),
                      QStringLiteral("Replace"), 392, 392, 105, 25);
    f.UnBtn = Button(client, "UnBtn", QStringLiteral(">> UnReplace >>"),
                     QStringLiteral("UnReplace"), 504, 392, 113, 25);
}

void SetTooltipsAndTabOrder(const Form1Controls& f) {
    // The tooltips speak of saving where the captions speak of choosing or
    // compiling; users know them that way.
    f.SvhBtn->setToolTip(QStringLiteral("Saves content to current VXA file"));
    f.SvahBtn->setToolTip(QStringLiteral("Saves content to another VXA file"));
    f.CanBtn->setToolTip(QStringLiteral("Clears all \"replace with\" fields"));
    f.SvsBtn->setToolTip(QStringLiteral(
        "Saves \"replace with\" content and current VXA file name to a script file so that the "
        "same changes can be made faster later"));
    f.RsBtn->setToolTip(QStringLiteral("Runs saved script file"));

    QWidget* chain[] = {f.OpenEdit, f.OpenBtn, f.ReloadBtn, f.FileList, f.StopBtn,
                        f.RplBtn,   f.SvhBtn,  f.SvahBtn,   f.CanBtn,   f.DriveComboBox1,
                        f.List1,    f.UnBtn,   f.SvsBtn,    f.RsBtn};
    for (std::size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace

Form1Controls BuildForm1(QMainWindow& window) {
    // Set for the application, so that the dialogs, message boxes and
    // tooltips have it too, and for the window: it exists already, and until
    // the event loop runs the toolkit passes the change on to no window.
    QApplication::setFont(ProgramFont());
    window.setFont(ProgramFont());
    window.resize(kClientWidth, kClientHeight);

    auto* client = new QWidget(&window);
    client->setObjectName(QStringLiteral("Form1Client"));
    client->setBackgroundRole(QPalette::Button);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);

    Form1Controls f{};
    PlaceArchiveSide(client, f);
    PlaceBrowserSide(client, f);
    f.Status1 = new StatusBar1(&window);
    f.Status1->setObjectName(QStringLiteral("Status1"));
    f.Status1->setAccessibleName(QStringLiteral("Status bar"));
    window.setStatusBar(f.Status1);

    SetTooltipsAndTabOrder(f);
    return f;
}

}  // namespace vxa
