// The group box that copies its frame: it looks like the toolkit's own, whatever is changed
// about it.
#include "app/group_frame.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <algorithm>
#include <cstdlib>

namespace {

// The largest difference of any channel of any pixel. Drawn once and copied, an antialiased
// edge may round one level apart; a title or a frame that is not there is hundreds apart.
int MostDifference(QWidget& ours, QWidget& theirs) {
  ours.grab();  // the first paint of a look comes from the style, later ones from the copy
  const QImage a = ours.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  const QImage b = theirs.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  if (a.size() != b.size()) return 256;
  int most = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                       std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  }
  return most;
}

TEST(GroupFrame, LooksLikeAGroupBoxThroughEveryChange) {
  QWidget parent;
  app::GroupFrame frame(QStringLiteral("New Task:"), &parent);
  QGroupBox box(QStringLiteral("New Task:"), &parent);
  const auto change = [&](auto&& what) {
    what(static_cast<QGroupBox&>(frame));
    what(box);
    EXPECT_LE(MostDifference(frame, box), 1);
  };
  change([](QGroupBox& each) {
    each.setAutoFillBackground(true);
    each.resize(200, 90);
  });
  change([](QGroupBox& each) { each.setTitle(QStringLiteral("Choice(Please, Click here!):")); });
  change([](QGroupBox& each) { each.resize(300, 120); });
  change([](QGroupBox& each) { each.setEnabled(false); });
  change([](QGroupBox& each) {
    QFont font = each.font();
    font.setPointSize(font.pointSize() + 4);
    each.setFont(font);
  });
  change([](QGroupBox& each) {
    QPalette palette = each.palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText, Qt::red);
    each.setPalette(palette);
  });
}

}  // namespace
