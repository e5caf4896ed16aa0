#include "viewer_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <new>

#include "appearance.h"
#include "canvas.h"
#include "dose_views.h"
#include "message_box.h"
#include "number_pattern.h"
#include "picture_widget.h"
#include "pictures.h"
#include "text_codec.h"
#include "viewer_geometry.h"
#include "viewer_summary.h"

namespace tessalin {
namespace {

constexpr int BORDER = 2;  // pixels of every canvas's sunken frame

QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                 int left, int top, const QColor& color = Qt::black, int width = 0,
                 int height = 0) {
  QLabel* label = MakeLabel(parent, name, text, left, top, width > 0 ? width : -1,
                            height > 0 ? height : -1, color, font);
  // Labels lie over the canvases: the pointer must reach the canvas below.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

QLineEdit* AddTextBox(QWidget* parent, const QString& name, const QRect& place,
                      const QColor& textColor = Qt::black) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setGeometry(place);
  box->setFont(SerifFont(11));
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, BUTTON_FACE);
  palette.setColor(QPalette::Text, textColor);
  box->setPalette(palette);
  return box;
}

QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption,
                       const QRect& place) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(place);
  ApplyButtonFace(button);
  return button;
}

// The back button's face: an arrow pointing up and to the left.
QIcon BackArrowIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 128, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(QPointF(26, 26), QPointF(8, 8));
  QPainterPath head;
  head.moveTo(4, 4);
  head.lineTo(18, 6);
  head.lineTo(6, 18);
  head.closeSubpath();
  painter.fillPath(head, QColor(0, 128, 0));
  return QIcon(pixmap);
}

// A plain bar of one colour, as a line control drawn on the window itself.
QWidget* AddBar(QWidget* parent, const QString& name, const QRect& place, const QColor& color) {
  auto* bar = new QWidget(parent);
  bar->setObjectName(name);
  bar->setGeometry(place);
  bar->setAutoFillBackground(true);
  QPalette palette = bar->palette();
  palette.setColor(QPalette::Window, color);
  bar->setPalette(palette);
  return bar;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

Form2::Form2(QWidget* parent) : QWidget(parent) {
  setObjectName("Form2");
  setWindowTitle("  Dose distribution");
  setFixedSize(Twips(22005), Twips(11565));
  // Closing through the frame ends the viewer; the next entry starts anew.
  setAttribute(Qt::WA_DeleteOnClose);
  folder_ = QDir::currentPath();

  BuildFileColumn();
  BuildMaps();
  BuildReadouts();
  BuildDefinitionBox();

  // Creation: the legend, hidden marker lines, nothing loaded.
  Picture7->Clear();
  DrawLegend(*Picture7);
  for (CanvasLine* line : {Line10, Line27, Line28, Line29, Line30, Line31, Line32, Line33}) {
    line->SetVisible(false);
  }
  resultLoaded_ = false;
  RereadFileList();
}

Form2::~Form2() = default;

Canvas* Form2::AddCanvas(const QString& name, int left, int top, int width, int height) {
  auto* canvas = new Canvas(this);
  canvas->setObjectName(name);
  canvas->setGeometry(TwipsRect(left, top, width, height));
  canvas->SetBackground(Qt::white);
  canvas->SetBorderWidth(BORDER);  // also sizes the drawing to the new geometry
  canvas->setFont(SerifFont(10));
  canvas->Clear();
  return canvas;
}

void Form2::BuildFileColumn() {
  const QFont gothic = GothicFont(11);
  AddLabel(this, "Label6", "ファイルを選択", GothicFont(12), 300, 240, TEXT_BLUE, 1695, 360);
  File1 = new QListWidget(this);
  File1->setObjectName("File1");
  File1->setGeometry(TwipsRect(120, 600, 2895, 4170));
  File1->setFont(gothic);
  AddLabel(this, "Label7", "このファイルデータ", GothicFont(12), 240, 4920, TEXT_BLUE, 2175, 360);

  Picture4 = AddCanvas("Picture4", 120, 5280, 2895, 2535);
  Picture4->SetBackground(BUTTON_FACE);
  Picture4->setFont(gothic);
  Picture4->Clear();

  Command14 = AddButton(this, "Command14", "OK", TwipsRect(120, 8040, 2895, 855));
  Command14->setFont(SerifFont(16));
  Label32 = AddLabel(this, "Label32", "Axial 線量分布画像上で", GothicFont(11), 480, 9120,
                     TEXT_BLUE, 2400, 345);
  Label33 = AddLabel(this, "Label33", "マウスを動かすと", GothicFont(11), 480, 9480, TEXT_BLUE,
                     1800, 345);
  Label36 = AddLabel(this, "Label36", "線量が表示されます", GothicFont(11), 480, 9840, TEXT_BLUE,
                     2025, 345);

  Command6 = AddButton(this, "Command6", QString(), TwipsRect(480, 10560, 495, 495));
  Command6->setIcon(BackArrowIcon());
  Command6->setIconSize(QSize(28, 28));
  Command1 = AddButton(this, "Command1", "Reset", TwipsRect(1560, 10560, 1335, 495));
  Command1->setFont(SerifFont(12));

  // A pick is a change of the selection, by mouse or keyboard; a click on the
  // name already picked shows its summary again. Focus alone picks nothing.
  File1->setSelectionMode(QAbstractItemView::SingleSelection);
  File1->viewport()->installEventFilter(this);
  connect(File1, &QListWidget::itemSelectionChanged, this, [this] {
    if (!File1->selectedItems().isEmpty()) ShowSummary();
  });
  connect(File1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (item == pickedAtPress_) ShowSummary();
  });
  connect(Command14, &QPushButton::clicked, this, &Form2::LoadPicked);
  connect(Command1, &QPushButton::clicked, this, &Form2::ResetViewer);
  connect(Command6, &QPushButton::clicked, this, &Form2::GoBack);
}

void Form2::BuildMaps() {
  const QFont caption = SerifFont(12);
  Picture1 = AddCanvas("Picture1", 3240, 120, 6135, 5415);
  Picture2 = AddCanvas("Picture2", 9480, 120, 6135, 5415);
  Picture3 = AddCanvas("Picture3", 15720, 120, 6135, 5415);
  Picture6 = AddCanvas("Picture6", 3240, 5640, 6255, 5415);
  Picture5 = AddCanvas("Picture5", 15720, 5640, 6135, 3855);
  Picture7 = AddCanvas("Picture7", 9960, 6840, 1455, 4095);

  struct AxialMap {
    Canvas* canvas;
    const char* label;
    const char* caption;
    const char* horizontal;
    const char* vertical;
    CanvasLine** horizontalLine;
    CanvasLine** verticalLine;
    double horizontalFrom, horizontalTo;  // extent of the horizontal cross-hair
  };
  const AxialMap maps[] = {
      {Picture1, "Label13", "Primary dose", "Line27", "Line31", &Line27, &Line31, -200, 200},
      {Picture2, "Label21", "Scattered dose", "Line28", "Line32", &Line28, &Line32, -203, 197},
      {Picture3, "Label22", "Total dose", "Line29", "Line33", &Line29, &Line33, -203, 197},
  };
  for (const AxialMap& map : maps) {
    Canvas* canvas = map.canvas;
    const auto& e = AXIAL_MAP_EDGES;
    canvas->SetScale(e.Left, e.Top, e.Right, e.Bottom);
    AddLabel(canvas, map.label, map.caption, caption, 120, 0);
    AddLabel(canvas, QString(), "Z", caption, 3120, 120);
    AddLabel(canvas, QString(), "X", caption, 5760, 2400);
    // Fixed axes and ticks, above the drawing and kept when it is cleared.
    canvas->AddLine(QString())->SetPoints(e.Left, 0, e.Right, 0);
    canvas->AddLine(QString())->SetPoints(0, -170, 0, 170);
    for (const double at : {-100.0, 100.0}) {
      canvas->AddLine(QString())->SetPoints(at, -5, at, 5);
      canvas->AddLine(QString())->SetPoints(-10, at, 10, at);
    }
    *map.horizontalLine = canvas->AddLine(map.horizontal);
    (*map.horizontalLine)->SetPoints(map.horizontalFrom, 0, map.horizontalTo, 0);
    *map.verticalLine = canvas->AddLine(map.vertical);
    (*map.verticalLine)->SetPoints(0, e.Top, 0, e.Bottom);
    connect(canvas, &Canvas::mouseMoved, this,
            [this](Qt::MouseButtons, double x, double y) { ShowMapReadout(x, y); });
  }

  {
    const auto& e = SAGITTAL_MAP_EDGES;
    Picture6->SetScale(e.Left, e.Top, e.Right, e.Bottom);
    AddLabel(Picture6, "Label23", "Total dose (sagittal plane)", caption, 120, 0);
    AddLabel(Picture6, QString(), "Z", caption, 3120, 240);
    AddLabel(Picture6, QString(), "Y", caption, 5880, 2400);
    Picture6->AddLine(QString())->SetPoints(e.Left, 0, e.Right, 0);
    Picture6->AddLine(QString())->SetPoints(0, -160, 0, 166);
    for (const double at : {-100.0, 100.0}) {
      Picture6->AddLine(QString())->SetPoints(at, -5, at, 5);
      Picture6->AddLine(QString())->SetPoints(-5, at, 5, at);
    }
    Line10 = Picture6->AddLine("Line10");
    Line10->SetPoints(0, -160, 0, 166);
    connect(Picture6, &Canvas::mousePressed, this,
            [this](Qt::MouseButton, double x, double) { SelectPlaneAt(x); });
    connect(Picture6, &Canvas::mouseMoved, this,
            [this](Qt::MouseButtons, double x, double) { ShowDistance(x); });
  }

  {
    const auto& e = PROFILE_EDGES;
    Picture5->SetScale(e.Left, e.Top, e.Right, e.Bottom);
    AddLabel(Picture5, "Label42", "Z = 0", caption, 120, 0);
    Line30 = Picture5->AddLine("Line30");
    Line30->SetPoints(0, 0, 0, 200);
    connect(Picture5, &Canvas::mouseMoved, this,
            [this](Qt::MouseButtons, double x, double) { ShowProfileReadout(x); });
  }

  for (CanvasLine* line : {Line10, Line27, Line28, Line29, Line30, Line31, Line32, Line33}) {
    line->SetColor(TEXT_BLUE);
  }

  {
    const auto& e = LEGEND_EDGES;
    Picture7->SetScale(e.Left, e.Top, e.Right, e.Bottom);
    const QFont legendFont = SerifFont(11);
    const struct {
      const char* text;
      int left, top;
    } ticks[] = {{"100", 960, 0},    {"90", 1080, 360},  {"80", 1080, 720},  {"70", 1080, 1080},
                 {"60", 1080, 1500}, {"50", 1080, 1875}, {"40", 1080, 2280}, {"30", 1080, 2640},
                 {"20", 1080, 3000}, {"10", 1080, 3420}, {"0", 1200, 3720}};
    for (const auto& tick : ticks) {
      QLabel* label = AddLabel(Picture7, QString(), tick.text, legendFont, tick.left, tick.top);
      label->resize(label->width(), Twips(285));
    }
    AddLabel(this, "Label24", "%", legendFont, 11160, 10920, Qt::black, 240, 315);
  }

  Label35 = AddLabel(this, "Label35",
                     "中央より\u3000\u3000\u3000 \u3000mm    クリックで Axial plane を決定",
                     // Fixed-pitch: its blanks leave the gap in which Text6 sits.
                     FixedGothicFont(11), 3840, 11100, Qt::black, 5745, 345);
  Text6 = AddTextBox(this, "Text6", TwipsRect(4800, 11040, 855, 450));
  Text6->raise();
}

void Form2::BuildReadouts() {
  // The layout leaves room for a narrow serif face; the faces at hand run
  // wider, so the English texts are set a little smaller than its 14 and 16 pt.
  const QFont serif = SerifFont(12);
  const QFont big = SerifFont(13);
  AddLabel(this, "Label29", "Axial plane Y =", serif, 10920, 6000);
  Text4 = AddTextBox(this, "Text4", TwipsRect(12720, 5925, 1695, 450));
  AddLabel(this, "Label30", "mm", serif, 14520, 6000);
  AddLabel(this, "Label28", "X =", serif, 13200, 6840);
  Text5 = AddTextBox(this, "Text5", TwipsRect(13800, 6840, 855, 450));
  AddLabel(this, "Label31", "mm", serif, 14760, 6840);
  AddLabel(this, "Label37", "Z =", serif, 13200, 7440);
  Text7 = AddTextBox(this, "Text7", TwipsRect(13800, 7440, 855, 450));
  AddLabel(this, "Label38", "mm", serif, 14760, 7440);

  const QFont percent = SerifFont(11);
  AddLabel(this, "Label3", "Primary dose", big, 12000, 8040);
  Text1 = AddTextBox(this, "Text1", TwipsRect(13800, 8040, 1095, 345), TEXT_RED);
  AddLabel(this, "Label1", "%", percent, 15000, 8040);
  AddLabel(this, "Label4", "Scattered dose", big, 11880, 8520);
  Text2 = AddTextBox(this, "Text2", TwipsRect(13800, 8520, 1095, 345), TEXT_BLUE);
  AddLabel(this, "Label2", "%", percent, 15000, 8520);
  AddLabel(this, "Label5", "Total dose", big, 12360, 9000);
  Text3 = AddTextBox(this, "Text3", TwipsRect(13800, 9000, 1095, 375), Qt::black);
  AddLabel(this, "Label8", "%", percent, 15000, 9000);
}

void Form2::BuildDefinitionBox() {
  MakeShape(this, "Shape1", TwipsRect(12120, 9720, 7935, 1575), Qt::black, true);
  const QFont gothic = GothicFont(11);
  AddLabel(this, "Label25", "ここで表示される線量（％）は、次式で定義した相対値です", gothic, 12360,
           9840, TEXT_BLUE);
  QLabel* numerator =
      AddLabel(this, "Label26", "軟部組織吸収線量", gothic, 12360, 10320, TEXT_BLUE);
  AddBar(this, "Line1", QRect(Twips(12360), Twips(10680) - 1, Twips(18240) - Twips(12360), 2),
         TEXT_BLUE);
  QLabel* denominator =
      AddLabel(this, "Label27", "ファントムなしの時の、回転中心における空気カーマ", gothic, 12360,
               10770, TEXT_BLUE);
  // The fraction's two terms stand centred on its bar.
  const int barCentre = (Twips(12360) + Twips(18240)) / 2;
  numerator->move(barCentre - numerator->width() / 2, numerator->y());
  denominator->move(barCentre - denominator->width() / 2, denominator->y());
  AddLabel(this, "Label34", "× 100 （％）", gothic, 18360, 10515, TEXT_BLUE);

  // Three short decorative lines and the small icon right of the box.
  for (int i = 0; i < 3; ++i) {
    AddBar(this, QString(),
           QRect(Twips(20160), Twips(10500) + 8 * i, Twips(20760) - Twips(20160), 1),
           QColor(128, 128, 128));
  }
  auto* icon = new PictureWidget(this, "Picture8", DrawDogIcon);
  icon->setGeometry(TwipsRect(20880, 10440, 480, 480));
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == File1->viewport() && event->type() == QEvent::MouseButtonPress) {
    pickedAtPress_ = File1->selectedItems().isEmpty() ? nullptr : File1->selectedItems().first();
  }
  return QWidget::eventFilter(watched, event);
}

void Form2::RereadFileList() {
  // The list is refreshed without counting as a pick; a picked name that is
  // still there stays picked.
  const QString picked =
      File1->selectedItems().isEmpty() ? QString() : File1->selectedItems().first()->text();
  const QSignalBlocker blocker(File1);
  File1->clear();
  QDir folder(folder_);
  const QStringList names =
      folder.entryList({"*.tsl2"}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
  File1->addItems(names);
  const auto found = File1->findItems(picked, Qt::MatchExactly);
  if (!picked.isEmpty() && !found.isEmpty()) File1->setCurrentItem(found.first());
  pickedAtPress_ = nullptr;
}

void Form2::ShowSummary() {
  if (File1->selectedItems().isEmpty()) return;
  QListWidgetItem* item = File1->selectedItems().first();
  const QString path = QDir(folder_).filePath(item->text());
  ResultHeader header;
  try {
    header = ReadResultHeader(QFile::encodeName(path).toStdString());
  } catch (const ResultFileError& error) {
    ShowMessage(this, "結果ファイルを読み込めません。\n" + QString::fromLocal8Bit(error.what()),
                MessageIcon::Exclamation);
    return;
  }
  Picture4->Clear();
  const auto lines = SummaryLines(header, FromCp932(header.ConditionComment).toStdString());
  const int lineHeight = QFontMetrics(Picture4->font()).height();
  for (int i = 0; i < SUMMARY_LINE_COUNT; ++i) {
    Picture4->Text(0, i * lineHeight, Text(lines[static_cast<std::size_t>(i)]), Qt::black);
  }
  Command14->setEnabled(true);
}

void Form2::LoadPicked() {
  if (File1->selectedItems().isEmpty()) return;
  LoadResult(File1->selectedItems().first()->text());
}

bool Form2::LoadResult(const QString& fileName) {
  // A second "OK" while the first load yields is ignored.
  if (loading_) return false;
  loading_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{loading_};

  // Everything is read before anything changes, so a bad file leaves the
  // viewer as it was.
  const QString path = QDir(folder_).filePath(fileName);
  ResultHeader header;
  std::unique_ptr<ViewerDose> dose;
  try {
    dose = ReadResultFile(QFile::encodeName(path).toStdString(), header);
  } catch (const ResultFileError& error) {
    ShowMessage(this, "結果ファイルを読み込めません。\n" + QString::fromLocal8Bit(error.what()),
                MessageIcon::Exclamation);
    return false;
  } catch (const std::bad_alloc&) {
    ShowMessage(this, "結果ファイルを読み込めません。\n" + path + ": not enough memory",
                MessageIcon::Exclamation);
    return false;
  }
  // Let the window repaint; the mouse is not looked at until the load ends.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

  ClearViews();
  Line10->SetPoints(0, -160, 0, 166);
  viewerDose_ = std::move(dose);
  phantomA_ = header.PhantomA;
  phantomB_ = header.PhantomB;
  axialPlane_ = 1;
  DrawAxialMaps(*Picture3, *Picture1, *Picture2, *viewerDose_, axialPlane_, phantomA_, phantomB_);
  Text4->setText(" 0 -  5");
  DrawSagittalMap(*Picture6, *viewerDose_, phantomB_);
  profileHalfWidth_ = DrawProfile(*Picture5, *viewerDose_, axialPlane_, phantomA_, phantomB_);
  Line10->SetVisible(true);
  for (QLabel* hint : {Label32, Label33, Label35, Label36}) hint->setVisible(true);
  resultLoaded_ = true;
  Command14->setEnabled(false);
  return true;
}

void Form2::DrawAxialViews() {
  DrawAxialMaps(*Picture3, *Picture1, *Picture2, *viewerDose_, axialPlane_, phantomA_, phantomB_);
  profileHalfWidth_ = DrawProfile(*Picture5, *viewerDose_, axialPlane_, phantomA_, phantomB_);
}

void Form2::ClearViews() {
  for (Canvas* canvas : {Picture1, Picture2, Picture3, Picture5, Picture6}) canvas->Clear();
}

void Form2::EmptyReadouts() {
  for (QLineEdit* box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7}) box->clear();
}

void Form2::ReturnToEmpty() {
  EmptyReadouts();
  ClearViews();
  Picture4->Clear();
  Line10->SetPoints(0, -160, 0, 166);
  Line10->SetVisible(false);
  HideCrossHairs();
  Command14->setEnabled(false);
  resultLoaded_ = false;
}

void Form2::ResetViewer() { ReturnToEmpty(); }

void Form2::prepareForShow() {
  RereadFileList();
  ReturnToEmpty();
  for (QLabel* hint : {Label32, Label33, Label35, Label36}) hint->setVisible(false);
}

void Form2::GoBack() {
  emit startWindowRequested();
  hide();
}

void Form2::closeEvent(QCloseEvent* event) {
  emit startWindowRequested();
  event->accept();
}

void Form2::SelectPlaneAt(double x) {
  if (!resultLoaded_) return;
  for (Canvas* canvas : {Picture1, Picture2, Picture3, Picture5}) canvas->Clear();
  const auto choice = ChoosePlane(x);
  if (!choice) return;  // beyond the phantom's length: the views stay blank
  Line10->SetPoints(choice->MarkerX, -160, choice->MarkerX, 166);
  axialPlane_ = choice->AxialPlane;
  Text4->setText(Text(PlainNumberText(PlaneLowerBound(axialPlane_)) + " - " +
                      PlainNumberText(PlaneUpperBound(axialPlane_))));
  DrawAxialViews();
  Line10->SetVisible(true);
}

void Form2::ShowPlane(int axialPlane) {
  if (axialPlane < 1 || axialPlane > ViewerDose::CELLS_Y) return;
  SelectPlaneAt(PlaneLowerBound(axialPlane) + 2.5);
}

void Form2::ShowDistance(double x) {
  if (!resultLoaded_) return;
  if (x >= -200 && x <= 200) {
    Text6->setText(Text(PlainNumberText(x)));
  } else {
    Text6->setText(Text(PlainNumberText(axialPlane_)));
  }
}

namespace {
// A dose in per cent with "##0.0"; a value too large to be a number in per
// cent (a corrupt file's 1E+308) fills the box with asterisks instead.
QString PercentText(double fraction) {
  const double percent = 100 * fraction;
  if (!std::isfinite(percent)) return QStringLiteral("*****");
  return Text(FormatNumber(percent, "##0.0"));
}
}  // namespace

void Form2::ShowDoses(int cellX, int cellZ) {
  const ViewerDose& dose = *viewerDose_;
  Text1->setText(PercentText(dose(1, cellX, axialPlane_, cellZ)));
  Text2->setText(PercentText(dose(2, cellX, axialPlane_, cellZ)));
  Text3->setText(PercentText(dose(0, cellX, axialPlane_, cellZ)));
}

void Form2::MoveVerticalCrossHairs(double x, bool visible) {
  for (CanvasLine* line : {Line31, Line32, Line33}) {
    line->SetPoints(x, AXIAL_MAP_EDGES.Top, x, AXIAL_MAP_EDGES.Bottom);
    line->SetVisible(visible);
  }
  Line30->SetPoints(x, 0, x, 200);
  Line30->SetVisible(visible);
}

void Form2::HideCrossHairs() {
  for (CanvasLine* line : {Line27, Line28, Line29, Line30, Line31, Line32, Line33}) {
    line->SetVisible(false);
  }
}

void Form2::ShowMapReadout(double x, double y) {
  if (!resultLoaded_) return;
  const auto cell = MapReadoutCell(x, y, phantomA_, phantomB_);
  if (!cell) {
    HideCrossHairs();
    for (QLineEdit* box : {Text5, Text7, Text1, Text2, Text3}) box->clear();
    return;
  }
  Line27->SetPoints(-200, y, 200, y);
  Line28->SetPoints(-203, y, 197, y);
  Line29->SetPoints(-203, y, 197, y);
  for (CanvasLine* line : {Line27, Line28, Line29}) line->SetVisible(true);
  MoveVerticalCrossHairs(x, true);
  Text5->setText(Text(PlainNumberText(x)));
  Text7->setText(Text(PlainNumberText(-y)));
  ShowDoses(cell->CellX, cell->CellZ);
}

void Form2::ShowProfileReadout(double x) {
  if (!resultLoaded_) return;
  const auto cellX = ProfileReadoutCell(x, profileHalfWidth_);
  if (!cellX) {
    for (CanvasLine* line : {Line31, Line32, Line33, Line30}) line->SetVisible(false);
    return;
  }
  MoveVerticalCrossHairs(x, true);
  Text5->setText(Text(PlainNumberText(std::fabs(x))));
  Text7->setText("0");
  ShowDoses(*cellX, 1);
}

}  // namespace tessalin
