// The window as assistive technology reads it through Qt's accessibility interfaces, which
// Qt's bridge hands on to the screen reader.
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <set>
#include <vector>

#include "served_window.h"

namespace {

QAccessibleInterface* Accessible(QObject* object) {
  return QAccessible::queryAccessibleInterface(object);
}

std::string Stem(const std::string& file) { return file.substr(0, file.rfind('.')); }

class Accessibility : public ServedWindow {
 protected:
  std::vector<app::TImage*> Tiles() const {
    return {form_->Image1, form_->Image2,  form_->Image3, form_->Image4,
            form_->Image5, form_->Image29, form_->Image28};
  }
  void Press(QObject* control) {
    Accessible(control)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  }
  // Every object offered under `root`, depth first.
  static void Walk(QAccessibleInterface* root, std::vector<QObject*>& offered) {
    offered.push_back(root->object());
    for (int i = 0; i < root->childCount(); ++i) {
      QAccessibleInterface* child = root->child(i);
      ASSERT_NE(child, nullptr);
      EXPECT_EQ(root->indexOfChild(child), i);
      EXPECT_EQ(child->parent()->object(), root->object());
      Walk(child, offered);
    }
  }
};

TEST_F(Accessibility, ChoiceTilesArePushButtonsNamedAfterTheirPicturesThatSayWhichTheyAre) {
  StartAndClearRequests();
  for (int k = 0; k < 7; ++k) {
    QAccessibleInterface* tile = Accessible(Tiles()[k]);
    EXPECT_EQ(tile->role(), QAccessible::Button);
    EXPECT_EQ(tile->text(QAccessible::Name).toStdString(), Stem(CellName(k, k)));
    EXPECT_EQ(tile->text(QAccessible::Description), QString("%1 of 7").arg(k + 1));
    EXPECT_TRUE(tile->state().focusable);
    EXPECT_EQ(tile->actionInterface()->actionNames(),
              (QStringList{QAccessibleActionInterface::pressAction(),
                           QAccessibleActionInterface::setFocusAction()}));
  }
  for (app::TImage* picture : {form_->Image6, form_->Image7, form_->Image25, form_->Image8}) {
    QAccessibleInterface* read = Accessible(picture);
    EXPECT_EQ(read->role(), QAccessible::Graphic);
    EXPECT_FALSE(read->state().focusable);
    EXPECT_TRUE(read->actionInterface()->actionNames().isEmpty()) << "read, not pressed";
  }
  EXPECT_EQ(Accessible(form_->Image6)->text(QAccessible::Name).toStdString(),
            Stem(Shown(form_->Image6)));
  EXPECT_EQ(Accessible(form_->Image8)->text(QAccessible::Name), "Result");
  EXPECT_EQ(Accessible(form_->Image11)->text(QAccessible::Name), "")
      << "not after its group's title";
}

TEST_F(Accessibility, WhatShowsIsOfferedInReadingOrderAndNothingElse) {
  StartAndClearRequests();
  QAccessibleInterface* window = Accessible(form_);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), "Qovex Dravel");
  std::vector<QObject*> offered;
  Walk(window, offered);
  // The verdict's notification, of no widget, closes the result group.
  const std::vector<QObject*> expected = {form_,
                                          form_->GroupBox4,
                                          form_->GroupBox6,
                                          form_->GroupBox9,
                                          form_->GroupBox10,
                                          form_->Image6,
                                          form_->Image7,
                                          form_->Image25,
                                          form_->GroupBox1,
                                          form_->Image8,
                                          form_->Image11,
                                          nullptr,
                                          form_->GroupBox8,
                                          form_->Image1,
                                          form_->Image2,
                                          form_->Image3,
                                          form_->Image4,
                                          form_->Image5,
                                          form_->Image29,
                                          form_->Image28,
                                          form_->SpeedButton1,
                                          form_->SpeedButton2,
                                          form_->Button1};
  EXPECT_EQ(offered, expected);
  // Each group is named after its own title.
  EXPECT_EQ(Accessible(form_->GroupBox8)->text(QAccessible::Name), "Choice(Please, Click here!):");
  EXPECT_EQ(Accessible(form_->GroupBox10)->text(QAccessible::Name), "");
  EXPECT_EQ(Accessible(form_->GroupBox1)->text(QAccessible::Name), "Result:");
  // A point finds what shows there: the big result picture over the small one.
  const auto at = [](QAccessibleInterface* parent, const QWidget* widget) {
    const QPoint centre = widget->mapToGlobal(widget->rect().center());
    QAccessibleInterface* found = parent->childAt(centre.x(), centre.y());
    return found ? found->object() : nullptr;
  };
  EXPECT_EQ(at(Accessible(form_->GroupBox8), form_->Image3), form_->Image3);
  EXPECT_EQ(at(Accessible(form_->GroupBox1), form_->Image11), form_->Image8);
}

TEST_F(Accessibility, APressIsTheClickItselfAndRunsFromTheEventLoop) {
  StartAndClearRequests();
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);  // hand stepping
  PlantCurrentCode(123456);
  QTest::mouseClick(form_->Image3, Qt::LeftButton);
  const std::vector<std::string> clicked = Requested();
  ASSERT_EQ(clicked, (std::vector<std::string>{"no.jpg", CellName(2, 2)}));
  server_.ClearRequests();
  Press(form_->Image3);
  EXPECT_TRUE(Requested().empty()) << "the call answers before the handler runs";
  QCoreApplication::processEvents();
  EXPECT_EQ(Requested(), clicked);

  // Automatic stepping: the verdict, the pick, then the next turn inside the press.
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);
  server_.ClearRequests();
  const int index = form_->State.TaskIndex;
  PlantNextCode(152637);
  Press(form_->Image28);
  QCoreApplication::processEvents();
  std::vector<std::string> turn = {"ok.jpg", CellName(6, 6), "shemoftask.txt"};
  for (int k = 0; k < 7; ++k) turn.push_back(CellName(k, k));
  for (const std::string& name : {CellName(0, 4), CellName(1, 5), CellName(2, 6)}) {
    turn.push_back(name);
  }
  EXPECT_EQ(Requested(), turn);
  EXPECT_EQ(form_->State.JudgedTaskIndex, index);
  EXPECT_EQ(form_->State.TaskIndex, index + 1);
}

// What a screen reader is told: each notification that shows, by its name then.
std::vector<QString>& Told() {
  static std::vector<QString> told;
  return told;
}

class TellingVerdicts : public Accessibility {
 protected:
  TellingVerdicts() {
    Told().clear();
    Platform().setActive(true);  // as when a screen reader listens
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
      QAccessibleInterface* source = event->accessibleInterface();
      if (event->type() == QAccessible::ObjectShow && source->role() == QAccessible::Notification) {
        Told().push_back(source->text(QAccessible::Name));
      }
    });
  }
  ~TellingVerdicts() override {
    QAccessible::installUpdateHandler(nullptr);
    Platform().setActive(false);
  }
  static QPlatformAccessibility& Platform() {
    return *QGuiApplicationPrivate::platformIntegration()->accessibility();
  }
  // The verdicts told since the last look.
  std::vector<QString> NewlyTold() { return std::exchange(Told(), {}); }
  // The notification, the last child of the result group.
  QAccessibleInterface* Notice() const {
    QAccessibleInterface* group = Accessible(form_->GroupBox1);
    return group->child(group->childCount() - 1);
  }
};

TEST_F(TellingVerdicts, EachVerdictShowsTheNotificationAnewWhereverTheFocusIs) {
  StartAndClearRequests();
  ASSERT_EQ(Notice()->role(), QAccessible::Notification);
  EXPECT_TRUE(Notice()->state().invisible) << "nothing to tell before the first pick";
  EXPECT_EQ(Notice()->parent()->object(), form_->GroupBox1);
  EXPECT_EQ(Notice()->rect(), Accessible(form_->GroupBox1)->rect());
  QTest::mouseClick(form_->SpeedButton1, Qt::LeftButton);  // hand stepping
  PlantCurrentCode(123456);                                // tile 7 is right
  QTest::mouseClick(form_->Image3, Qt::LeftButton);
  EXPECT_EQ(NewlyTold(), std::vector<QString>{"Result: wrong"});
  EXPECT_FALSE(Notice()->state().invisible);
  QTest::mouseClick(form_->Image28, Qt::LeftButton);
  Press(form_->Image28);
  QCoreApplication::processEvents();
  EXPECT_EQ(NewlyTold(), (std::vector<QString>{"Result: right", "Result: right"}))
      << "the same verdict again is told again";
  EXPECT_EQ(Notice()->text(QAccessible::Name), "Result: right");

  QTest::mouseClick(form_->Button1, Qt::LeftButton);  // "reading.jpg" is no verdict
  EXPECT_TRUE(NewlyTold().empty());
  Remove("ok.jpg");
  PlantCurrentCode(123456);
  QTest::mouseClick(form_->Image28, Qt::LeftButton);
  EXPECT_TRUE(NewlyTold().empty()) << "no verdict shows, none is told";
}

}  // namespace
