#pragma once

#include <QImage>
#include <QSize>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

#include "content/jpeg_picture.h"

namespace app {

// `picture` as a control of `size` device pixels shows it: decoded at the smallest scale that
// covers the size, then fitted to it, so that painting it is a plain copy. Throws JpegError on
// damaged data. The first paints on the GUI thread, with Qt's faster filter; the second makes
// no Qt object, so it may run on any thread, before the application exists too.
QImage DecodeForControl(const content::JpegPicture& picture, QSize size);
QImage DecodeForControlOffThread(const content::JpegPicture& picture, QSize size);

// A decode under way: `picture` for a control of `size` device pixels.
struct PendingDecode {
  content::JpegPicture picture;
  QSize size;
  std::future<QImage> decoded;  // the picture fitted to `size`, or its JpegError
};

// Decodes pictures for their controls on one thread of its own, at a lower priority than the
// threads that fetch and build the window, so that decoding takes what time they leave.
class PictureDecoder {
 public:
  PictureDecoder();
  // Decodes what it has begun; what is still queued is dropped (its futures report a broken
  // promise, and nobody asks them any more).
  ~PictureDecoder();
  PictureDecoder(const PictureDecoder&) = delete;
  PictureDecoder& operator=(const PictureDecoder&) = delete;

  // Queues `picture` to be decoded and fitted to `size` (device pixels).
  PendingDecode Decode(content::JpegPicture picture, QSize size);

 private:
  struct Job {
    content::JpegPicture picture;
    QSize size;
    std::promise<QImage> decoded;
  };

  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  std::thread thread_;  // last: it starts once the rest is in place
};

}  // namespace app
