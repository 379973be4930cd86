// Tells when a program's first whole frame reaches the X server: the moment from which every
// probe point of the next top-level window to be mapped shows the colour it keeps.
//
//   frame_watch X,Y...
//
// Prints "ready" once it watches the screen (the caller starts the program after it); then,
// once no point has changed for a second, the wall-clock microseconds of the last change and
// the window's id. Window coordinates; exits 1 when no window settles within 20 s.
#include <poll.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Probe {
  int x = 0;
  int y = 0;
};

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// The colours at the probes, asked for all at once so that one poll costs one round trip; 0
// where the window has no pixel yet.
std::vector<unsigned> ReadColours(xcb_connection_t* x, xcb_window_t window,
                                  const std::vector<Probe>& probes) {
  std::vector<xcb_get_image_cookie_t> cookies;
  for (const Probe& probe : probes) {
    cookies.push_back(xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window,
                                    static_cast<int16_t>(probe.x), static_cast<int16_t>(probe.y), 1,
                                    1, ~0u));
  }
  std::vector<unsigned> colours;
  for (const xcb_get_image_cookie_t cookie : cookies) {
    Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(x, cookie, nullptr), &std::free);
    unsigned pixel = 0;
    if (reply && xcb_get_image_data_length(reply.get()) >= 4) {
      std::memcpy(&pixel, xcb_get_image_data(reply.get()), 4);
    }
    colours.push_back(pixel & 0xFFFFFF);
  }
  return colours;
}

long long WallMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Probe> probes(argc > 1 ? argc - 1 : 0);
  for (int i = 1; i < argc; ++i) {
    int used = 0;
    if (std::sscanf(argv[i], "%d,%d%n", &probes[i - 1].x, &probes[i - 1].y, &used) != 2 ||
        argv[i][used] != '\0') {
      return std::fprintf(stderr, "frame_watch: bad probe %s\n", argv[i]), 2;
    }
  }
  if (probes.empty()) return std::fprintf(stderr, "usage: frame_watch X,Y...\n"), 2;
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) return std::fprintf(stderr, "frame_watch: no display\n"), 1;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask));
  std::printf("ready\n");
  std::fflush(stdout);

  // No window manager: a mapped top-level window is a child of the root.
  const Clock::time_point ready = Clock::now();
  xcb_window_t window = 0;
  while (!window) {
    Reply<xcb_generic_event_t> event(xcb_poll_for_event(x), &std::free);
    if (!event) {
      if (xcb_connection_has_error(x)) return std::fprintf(stderr, "frame_watch: no display\n"), 1;
      if (Clock::now() - ready > std::chrono::seconds(20)) {
        return std::fprintf(stderr, "frame_watch: no window mapped within 20 s\n"), 1;
      }
      pollfd display{xcb_get_file_descriptor(x), POLLIN, 0};
      poll(&display, 1, 100);
      continue;
    }
    if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
      const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
      if (!map->override_redirect) window = map->window;
    }
  }
  const Clock::time_point mapped = Clock::now();
  std::vector<unsigned> shown = ReadColours(x, window, probes);
  Clock::time_point changed = mapped;
  long long changed_us = WallMicroseconds();
  while (Clock::now() - changed < std::chrono::seconds(1)) {
    if (Clock::now() - mapped > std::chrono::seconds(20)) {
      return std::fprintf(stderr, "frame_watch: the window did not settle within 20 s\n"), 1;
    }
    std::vector<unsigned> colours = ReadColours(x, window, probes);
    if (colours == shown) continue;
    changed = Clock::now();
    changed_us = WallMicroseconds();
    shown = std::move(colours);
  }
  std::printf("%lld\n0x%x\n", changed_us, window);
  xcb_disconnect(x);
  return 0;
}
