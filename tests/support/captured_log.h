#pragma once

#include <QLoggingCategory>
#include <QString>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// Everything Qt's logging is given while one of these lives, kept instead of written.
class CapturedLog {
 public:
  struct Line {
    std::string category;
    QtMsgType type;
    std::string text;
  };

  CapturedLog() {
    const std::lock_guard lock(Mutex());
    Lines().clear();
    previous_ = qInstallMessageHandler(&Take);
  }
  ~CapturedLog() { qInstallMessageHandler(previous_); }
  CapturedLog(const CapturedLog&) = delete;
  CapturedLog& operator=(const CapturedLog&) = delete;

  std::vector<Line> All() const {
    const std::lock_guard lock(Mutex());
    return Lines();
  }
  // The texts of one category's lines, in order.
  std::vector<std::string> Of(std::string_view category) const {
    std::vector<std::string> texts;
    for (const Line& line : All()) {
      if (line.category == category) texts.push_back(line.text);
    }
    return texts;
  }
  // Every line of the game's own categories, "category: text".
  std::vector<std::string> Game() const {
    std::vector<std::string> texts;
    for (const Line& line : All()) {
      if (line.category.starts_with("dravel.")) texts.push_back(line.category + ": " + line.text);
    }
    return texts;
  }

 private:
  static void Take(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(Mutex());
    Lines().push_back({context.category ? context.category : "", type, text.toStdString()});
  }
  static std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
  }
  static std::vector<Line>& Lines() {
    static std::vector<Line> lines;
    return lines;
  }

  QtMessageHandler previous_ = nullptr;
};

}  // namespace testsupport
