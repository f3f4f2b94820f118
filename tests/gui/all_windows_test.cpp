// Checks that hold for every window of the program.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>
#include <functional>
#include <map>

#include "app/setup_windows.h"
#include "critical/critical_windows.h"
#include "procedures/fugacity/fugacity_windows.h"
#include "phase/phase_windows.h"
#include "procedures/pvt/pvt_windows.h"
#include "procedures/thermo/thermo_windows.h"
#include "procedures/thermo/chem_pot_window.h"
#include "framework/property_record.h"
#include "gui/gui_support.h"

namespace {

using namespace framework;
using namespace testing_support;

struct WindowCase {
  const char* name;
  std::function<Window&()> open;
  QSize content;
  std::size_t controls;
  int minHeight = 0, maxHeight = 0;  // of the content, for a window that resizes
};

void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

std::vector<WindowCase> Windows() {
  return {
      {"Start1Window", [] () -> Window& { return shared<app::Start1Window>(); }, {540, 695}, 10},
      {"Start1aWindow", [] () -> Window& { return shared<app::Start1aWindow>(); }, {400, 405}, 9},
      {"Start2Window", [] () -> Window& { return shared<app::Start2Window>(); }, {310, 590}, 30},
      {"Start3Window", [] () -> Window& { return shared<app::Start3Window>(); }, {300, 570}, 17},
      {"PressureWindow", [] () -> Window& { return shared<pvt::PressureWindow>(); }, {470, 290}, 17},
      {"Isochore", [] () -> Window& { return shared<pvt::Isochore>(); }, {300, 480}, 20},
      // Built hidden; its opener shows it.
      {"TemperatureWindow", [] () -> Window& {
         auto& w = shared<pvt::TemperatureWindow>();
         w.Show();
         return w;
       }, {470, 270}, 16},
      {"VolumeWindow", [] () -> Window& { return shared<pvt::VolumeWindow>(); }, {460, 470}, 32},
      {"EnergyWindow", [] () -> Window& { return shared<thermo::EnergyWindow>(); }, {455, 640}, 38},
      {"EnthalpyWindow", [] () -> Window& { return shared<thermo::EnthalpyWindow>(); }, {455, 610}, 38},
      {"EntropyWindow", [] () -> Window& { return shared<thermo::EntropyWindow>(); }, {455, 640}, 37},
      {"HelmholtzWindow", [] () -> Window& { return shared<thermo::HelmholtzWindow>(); }, {460, 645}, 38},
      {"GibbsWindow", [] () -> Window& { return shared<thermo::GibbsWindow>(); }, {470, 610}, 38},
      {"FugacityWindow", [] () -> Window& { return shared<fugacity::FugacityWindow>(); }, {460, 590}, 26},
      {"ActivityWindow", [] () -> Window& { return shared<fugacity::ActivityWindow>(); }, {480, 700}, 39, 400, 800},
      {"ChemPotWindow", [] () -> Window& { return shared<thermo::ChemPotWindow>(); }, {450, 730}, 30},
      {"BubbleDewPoint", [] () -> Window& { return shared<phase::BubbleDewPoint>(); }, {635, 700}, 49, 400, 925},
      {"LiquidVapourEq", [] () -> Window& { return shared<phase::LiquidVapourEq>(); }, {615, 700}, 49, 64, 835},
      {"SpinodalWindow", [] () -> Window& { return shared<critical::SpinodalWindow>(); }, {460, 510}, 25},
      {"CriticalPointWindow", [] () -> Window& { return shared<critical::CriticalPointWindow>(); }, {450, 660}, 42},
      {"MathAnal", [] () -> Window& { return shared<critical::MathAnal>(); }, {460, 315}, 4},
      {"Explain", [] () -> Window& { return shared<critical::Explain>(); }, {450, 660}, 12},
  };
}

class AllWindows : public ::testing::TestWithParam<WindowCase> {
 protected:
  void SetUp() override { CloseAllWindows(); }
  void TearDown() override { CloseAllWindows(); }
};

TEST_P(AllWindows, BuildsWithItsSizeAndControls) {
  Window& w = GetParam().open();
  EXPECT_EQ(w.Content().size(), GetParam().content);
  EXPECT_EQ(w.Controls().size(), GetParam().controls);
  Screenshot(w, GetParam().name);
  // The window itself, as the window manager is told, keeps its width and
  // its height range, the menu bar's height added; so does the content.
  const QSize content = GetParam().content;
  const int menu = w.height() - content.height();
  const int low = GetParam().minHeight ? GetParam().minHeight : content.height();
  const int high = GetParam().maxHeight ? GetParam().maxHeight : content.height();
  ASSERT_NE(w.windowHandle(), nullptr);
  EXPECT_EQ(w.windowHandle()->minimumSize(), QSize(content.width(), low + menu));
  EXPECT_EQ(w.windowHandle()->maximumSize(), QSize(content.width(), high + menu));
  for (const auto& [asked, expected] : {std::pair{QSize(1600, 1200), high}, std::pair{QSize(10, 10), low}}) {
    w.resize(asked);
    Settle();
    EXPECT_EQ(w.Content().size(), QSize(content.width(), expected));
    EXPECT_EQ(w.size(), QSize(content.width(), expected + menu));
  }
}

TEST_P(AllWindows, TextsFitTheirControls) {
  Window& w = GetParam().open();
  for (Control* c : w.Controls()) {
    QWidget& widget = c->Widget();
    if (auto* label = qobject_cast<QLabel*>(&widget); label && !label->wordWrap()) {
      EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
          << GetParam().name << "." << c->Name();
    } else if (auto* radio = qobject_cast<QRadioButton*>(&widget)) {
      EXPECT_LE(radio->sizeHint().width(), radio->width()) << GetParam().name << "." << c->Name();
    } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
      // The caption with a little room on each side (the style's minimum
      // button width says nothing about the text).
      EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, button->width())
          << GetParam().name << "." << c->Name();
    }
  }
}

// A unit label that draws a raised exponent: the digits clear of the text
// before and after them by no more than the font's own spacing, above the
// baseline, not cut at the label's top, and the whole inside the label.
TEST_P(AllWindows, RaisedExponentsSitInTheirUnits) {
  Window& w = GetParam().open();
  for (Control* c : w.Controls()) {
    auto* unit = dynamic_cast<StaticTextControl*>(c);
    if (unit == nullptr) continue;
    const std::string where = std::string(GetParam().name) + "." + c->Name();
    // Every "3" of these windows is the exponent of a cm³ and drawn by its unit.
    if (unit->Text() == "3") {
      EXPECT_TRUE(unit->DrawnByItsUnit()) << where;
    }
    const auto r = unit->Raised();
    if (!r) continue;
    EXPECT_TRUE(r->before.endsWith(QStringLiteral("cm"))) << where;
    EXPECT_TRUE(r->label->DrawnByItsUnit()) << where;
    const QFontMetricsF big(unit->font()), small(r->digitsFont);
    const QRectF digits = small.tightBoundingRect(r->digits).translated(r->digitsX, r->digitsBaseline);
    if (!r->before.isEmpty()) {
      const QRectF before = big.tightBoundingRect(r->before).translated(r->beforeX, r->baseline);
      EXPECT_GT(digits.left(), before.right()) << where;
      EXPECT_LT(digits.left() - before.right(), 2.5) << where;
    }
    if (!r->after.isEmpty()) {
      const QRectF after = big.tightBoundingRect(r->after).translated(r->afterX, r->baseline);
      EXPECT_GE(after.left(), digits.right()) << where;
      EXPECT_LT(after.left() - digits.right(), 2.5) << where;
      EXPECT_LE(after.right(), unit->width()) << where;
    } else {
      EXPECT_LE(digits.right(), unit->width()) << where;
    }
    EXPECT_GE(digits.top(), 0) << where;
    EXPECT_LT(digits.bottom(), r->baseline - 2) << where;
  }
}

// What assistive tools are told: radios are radio buttons, buttons carry
// their captions.
TEST_P(AllWindows, RadiosAndButtonsSayWhatTheyAre) {
  Window& w = GetParam().open();
  for (Control* c : w.Controls()) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&c->Widget());
    ASSERT_NE(a, nullptr) << c->Name();
    if (auto* radio = dynamic_cast<RadioButtonControl*>(c)) {
      EXPECT_EQ(a->role(), QAccessible::RadioButton) << GetParam().name << "." << c->Name();
      EXPECT_EQ(a->state().checked, radio->Value()) << GetParam().name << "." << c->Name();
    } else if (auto* button = dynamic_cast<PushButtonControl*>(c)) {
      EXPECT_EQ(a->role(), QAccessible::Button) << c->Name();
      EXPECT_EQ(a->text(QAccessible::Name), button->text().replace(QStringLiteral("&&"), QStringLiteral("&")))
          << GetParam().name << "." << c->Name();
    }
  }
}

// Every edit field carries the name of what is typed into it; every list
// has a name, and one that shows headings is known by them.
TEST_P(AllWindows, FieldsAndListsAreNamed) {
  Window& w = GetParam().open();
  Activate(w);  // some windows write their headings on activation
  for (Control* c : w.Controls()) {
    const QString name = QAccessible::queryAccessibleInterface(&c->Widget())->text(QAccessible::Name);
    if (dynamic_cast<EditFieldControl*>(c) != nullptr) {
      EXPECT_FALSE(name.trimmed().isEmpty()) << GetParam().name << "." << c->Name();
    } else if (auto* list = dynamic_cast<ListboxControl*>(c)) {
      for (int col = 0; !list->horizontalHeader()->isHidden() && col < list->columnCount(); ++col) {
        EXPECT_TRUE(name.contains(QString::fromStdString(list->Heading(col)).trimmed()))
            << GetParam().name << "." << c->Name() << ": " << name.toStdString();
      }
      EXPECT_FALSE(name.isEmpty()) << GetParam().name << "." << c->Name();
    }
  }
}

TEST_P(AllWindows, EachRecordDecodesBackAndReversedBuildsTheSameControl) {
  Window& w = GetParam().open();
  for (Control* c : w.Controls()) {
    const auto record = DecodeRecord(c->Kind(), c->RecordBytes());
    ASSERT_TRUE(record.has_value()) << c->Name();
    EXPECT_EQ(EncodeRecord(*record), c->RecordBytes()) << c->Name();
    PropertyRecord reversed = *record;
    std::reverse(reversed.begin(), reversed.end());
    const QRect before = c->Widget().geometry();
    const QFont font = c->Widget().font();
    RuntimeMassPropertySetter(*c, EncodeRecord(reversed));
    EXPECT_EQ(c->Widget().geometry(), before) << c->Name();
    EXPECT_EQ(c->Widget().font(), font) << c->Name();
  }
}

TEST_P(AllWindows, ClickingARadioTurnsOnlyItsGroupOver) {
  Window& w = GetParam().open();
  std::vector<RadioButtonControl*> radios;
  for (Control* c : w.Controls()) {
    if (auto* r = dynamic_cast<RadioButtonControl*>(c)) radios.push_back(r);
  }
  for (RadioButtonControl* target : radios) {
    std::map<RadioButtonControl*, bool> before;
    for (auto* r : radios) before[r] = r->Value();
    ClickThroughWindow(*target);
    EXPECT_TRUE(target->Value()) << GetParam().name << "." << target->Name();
    for (auto* r : radios) {
      // As assistive tools are told.
      EXPECT_EQ(QAccessible::queryAccessibleInterface(r)->state().checked, r->Value()) << r->Name();
      if (r == target) continue;
      if (r->group() == target->group()) {
        EXPECT_FALSE(r->Value()) << r->Name();
      } else {
        EXPECT_EQ(r->Value(), before[r]) << r->Name();
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Program, AllWindows, ::testing::ValuesIn(Windows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Fonts, PointSizesArePixelSizes) {
  CloseAllWindows();
  auto& start = shared<app::Start1Window>();
  EXPECT_EQ(start.Label("StaticText2").font().pixelSize(), 24);
  EXPECT_EQ(start.Label("StaticText1").font().pixelSize(), 18);
  EXPECT_EQ(start.Button("continue1").font().pixelSize(), 12);
  EXPECT_EQ(start.Label("StaticText1").font().family(), "DejaVu Sans Condensed");
  CloseAllWindows();
}

}  // namespace
