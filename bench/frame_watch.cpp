// Tells when a program's first frame reaches the X server: the moment every probe point of
// the next top-level window to be mapped shows its final colour.
//
//   frame_watch learn X,Y...           prints X,Y=RRGGBB for each point once the window has
//                                      settled (its frame a second after it was mapped)
//   frame_watch watch X,Y=RRGGBB...    prints the wall-clock microseconds at which all points
//                                      first showed those colours, then the window's id
//
// Both print "ready" first, once they watch the screen; the caller starts the program after
// it. Window coordinates; exits 1 when no such frame comes within 20 s.
#include <poll.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Probe {
  int x = 0;
  int y = 0;
  unsigned colour = 0;
};

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

bool ParseProbe(const char* text, bool with_colour, Probe& probe) {
  int used = 0;
  if (with_colour) {
    return std::sscanf(text, "%d,%d=%x%n", &probe.x, &probe.y, &probe.colour, &used) == 3 &&
           text[used] == '\0';
  }
  return std::sscanf(text, "%d,%d%n", &probe.x, &probe.y, &used) == 2 && text[used] == '\0';
}

// The colours at the probes, asked for all at once so that one poll costs one round trip.
bool ReadColours(xcb_connection_t* x, xcb_window_t window, const std::vector<Probe>& probes,
                 std::vector<unsigned>& colours) {
  std::vector<xcb_get_image_cookie_t> cookies;
  for (const Probe& probe : probes) {
    cookies.push_back(xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window,
                                    static_cast<int16_t>(probe.x), static_cast<int16_t>(probe.y), 1,
                                    1, ~0u));
  }
  colours.clear();
  bool all = true;
  for (const xcb_get_image_cookie_t cookie : cookies) {
    Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(x, cookie, nullptr), &std::free);
    if (!reply || xcb_get_image_data_length(reply.get()) < 4) {
      all = false;
      colours.push_back(0);
      continue;
    }
    unsigned pixel = 0;
    std::memcpy(&pixel, xcb_get_image_data(reply.get()), 4);
    colours.push_back(pixel & 0xFFFFFF);
  }
  return all;
}

long long WallMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  const bool learn = argc >= 3 && std::strcmp(argv[1], "learn") == 0;
  const bool watch = argc >= 3 && std::strcmp(argv[1], "watch") == 0;
  std::vector<Probe> probes(argc > 2 ? argc - 2 : 0);
  for (int i = 2; i < argc && (learn || watch); ++i) {
    if (!ParseProbe(argv[i], watch, probes[i - 2])) return std::fprintf(stderr, "bad probe\n"), 2;
  }
  if (!learn && !watch) {
    std::fprintf(stderr, "usage: frame_watch learn X,Y... | watch X,Y=RRGGBB...\n");
    return 2;
  }
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
      if (xcb_connection_has_error(x))
        return std::fprintf(stderr, "frame_watch: display closed\n"), 1;
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
  std::vector<unsigned> colours;
  if (learn) {
    std::this_thread::sleep_until(mapped + std::chrono::seconds(1));
    if (!ReadColours(x, window, probes, colours)) return std::fprintf(stderr, "no pixels\n"), 1;
    for (std::size_t i = 0; i < probes.size(); ++i) {
      std::printf("%d,%d=%06x\n", probes[i].x, probes[i].y, colours[i]);
    }
  } else {
    for (;;) {
      ReadColours(x, window, probes, colours);
      bool final = true;
      for (std::size_t i = 0; i < probes.size(); ++i) final &= colours[i] == probes[i].colour;
      if (final) break;
      if (Clock::now() - mapped > std::chrono::seconds(20)) {
        std::fprintf(stderr, "frame_watch: no final frame within 20 s\n");
        return 1;
      }
    }
    std::printf("%lld\n0x%x\n", WallMicroseconds(), window);
  }
  xcb_disconnect(x);
  return 0;
}
