#include "app/picture_decoder.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QPainter>
#include <exception>
#include <utility>

#include "content/image_fit.h"

namespace app {
namespace {

// Wraps the decoded pixels without copying them; the image owns the buffer.
QImage ToQImage(content::DecodedImage decoded) {
  auto* pixels = new content::PixelBuffer(std::move(decoded.pixels));
  return QImage(
      reinterpret_cast<const uchar*>(pixels->data()), decoded.width, decoded.height,
      decoded.width * 4, QImage::Format_RGB32,
      [](void* buffer) { delete static_cast<content::PixelBuffer*>(buffer); }, pixels);
}

}  // namespace

QImage DecodeForControl(const content::JpegPicture& picture, QSize size) {
  const QImage image = ToQImage(picture.DecodeToCover(size.width(), size.height()));
  if (image.size() == size) return image;
  QImage fitted(size, QImage::Format_RGB32);
  QPainter painter(&fitted);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(fitted.rect(), image);
  return fitted;
}

QImage DecodeForControlOffThread(const content::JpegPicture& picture, QSize size) {
  return ToQImage(content::FitTo(picture.DecodeToCover(size.width(), size.height()), size.width(),
                                 size.height()));
}

PictureDecoder::PictureDecoder() : thread_([this] { Work(); }) {}

PictureDecoder::~PictureDecoder() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

PendingDecode PictureDecoder::Decode(content::JpegPicture picture, QSize size) {
  Job job{picture, size, {}};
  PendingDecode pending{std::move(picture), size, job.decoded.get_future()};
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
  return pending;
}

void PictureDecoder::Work() {
  // Nice 10 for this thread alone: Linux gives each thread its own nice value. Failing that,
  // decoding merely competes on equal terms.
  static_cast<void>(setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10));
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    try {
      job.decoded.set_value(DecodeForControlOffThread(job.picture, job.size));
    } catch (...) {
      job.decoded.set_exception(std::current_exception());
    }
  }
}

}  // namespace app
