// anim_harness: drives an unmodified program from outside, for tests and
// headless runs. Load it with LD_PRELOAD; it reads these variables:
//
//   ANIM_HARNESS_QUIT_AT=N     deliver a quit event at the first poll of
//                              frame N
//   ANIM_HARNESS_EVENTS=a,b,.. events delivered ahead of that quit (key,
//                              keyup, motion, button), one a poll, so the
//                              quit comes later
//   ANIM_HARNESS_NO_DELAY=1    skip the pause at the end of each frame
//   ANIM_HARNESS_FRAME_MS=N    a frame takes N ms on the harness's clock,
//                              whatever it pauses (see below)
//   ANIM_HARNESS_LOG=FILE      write "frame N HASH" for every flipped frame
//                              (HASH: 64-bit FNV-1a over its pixels'
//                              0xRRGGBB values),
//                              "pause MS" for every end-of-frame pause and,
//                              at exit, "exit loads=L live=S" (S: loaded
//                              surfaces never freed)
//   ANIM_HARNESS_SAVE=LIST     save the flipped frames of LIST ("all", or
//                              numbers and ranges: "1,5,100-110") as BMP;
//                              at exit, those never flipped are named on
//                              stderr (the exit status stays the program's)
//   ANIM_HARNESS_SAVE_DIR=DIR  where saved frames go (default: .), as
//                              frame_NNNNN.bmp
//   ANIM_HARNESS_FAIL_LOAD=K   make the K-th image load fail
//   ANIM_HARNESS_RSS_EVERY=N   with the log, write "rss N KB" (the resident
//                              memory) after every N-th flipped frame
//
// Frames are counted from 1 by the flips: frame N runs from the (N-1)-th call
// of SDL_Flip to the N-th, and its polls are those made in between. The
// harness answers those polls itself, ahead of anything SDL has queued: an
// SDL may queue events of its own when the window opens (the compatibility
// library 1.2.68 queues sixteen activation events), and a quit pushed behind
// them would reach a program that takes one event a frame sixteen frames
// late. A program may poll any number of times a frame. Asked to quit at
// frame N, a program that stops at once on the quit flips N-1 frames; one
// that finishes the frame in which it sees the quit flips N.
//
// The harness keeps the time: SDL_GetTicks returns its clock, in
// milliseconds from 0 at the start, which moves only as the program runs.
// Each pause of the program (SDL_Delay on its main thread) moves it by the
// pause's length, skipped or not; with ANIM_HARNESS_FRAME_MS=N each flip
// moves it by N instead, and the pauses do not. A program paced by its
// clock thus sees the same times at the same frames on every run, however
// fast the machine. A program that reads the clock over and over without
// pausing or flipping (a wait that spins) sees it move 1 ms every
// kSpinReads readings, so that the wait ends.
#include "surface_ledger.h"

#include "next_definition.h"

#include <sys/syscall.h>  // Required for: SYS_gettid
#include <unistd.h>       // Required for: sysconf(), syscall(), getpid()

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using PollFn = int (*)(SDL_Event*);
using FlipFn = int (*)(SDL_Surface*);
using DelayFn = void (*)(Uint32);

// Readings of the clock without a pause or a flip after which it moves 1 ms.
constexpr long kSpinReads = 1000;

struct Settings {
    long quit_at = 0;
    std::vector<Uint8> events_before_quit;
    bool no_delay = false;
    FILE* log = nullptr;
    bool save_all = false;
    std::vector<std::pair<long, long>> save_ranges;
    std::string save_dir = ".";
    long rss_every = 0;
    long frame_ms = 0;  // 0: the pauses move the clock
};

struct Counters {
    long flips = 0;
    bool script_started = false;  // the quit's frame has come
    std::deque<Uint8> script;     // events the next polls return, the quit last
    Uint32 clock_ms = 0;          // the time SDL_GetTicks returns
    long reads_since_move = 0;    // readings of the clock since it last moved
};

const char* variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

[[noreturn]] void fail_setting(const char* name, const char* value)
{
    std::fprintf(stderr, "anim_harness: cannot read %s='%s'\n", name, value);
    std::exit(125);
}

long read_count(const char* name)
{
    const char* value = variable(name);
    if (value == nullptr) return 0;
    char* end = nullptr;
    const long n = std::strtol(value, &end, 10);
    if (*end != '\0' || n < 0) fail_setting(name, value);
    return n;
}

Uint8 event_type(const std::string& name)
{
    if (name == "key") return SDL_KEYDOWN;
    if (name == "keyup") return SDL_KEYUP;
    if (name == "motion") return SDL_MOUSEMOTION;
    if (name == "button") return SDL_MOUSEBUTTONDOWN;
    return SDL_NOEVENT;
}

std::vector<std::string> split(const char* text)
{
    std::vector<std::string> items;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');) items.push_back(item);
    return items;
}

void read_save_list(Settings& s)
{
    const char* value = variable("ANIM_HARNESS_SAVE");
    if (value == nullptr) return;
    if (std::strcmp(value, "all") == 0) {
        s.save_all = true;
        return;
    }
    for (const std::string& item : split(value)) {
        long first = 0, last = 0;
        char extra = 0;
        const int n = std::sscanf(item.c_str(), "%ld-%ld%c", &first, &last, &extra);
        if (n == 1) last = first;
        if ((n != 1 && n != 2) || first < 1 || last < first) fail_setting("ANIM_HARNESS_SAVE", value);
        s.save_ranges.emplace_back(first, last);
    }
}

// Reads the variables into `s`; a bad one ends the process.
void read_settings(Settings& s)
{
    s.quit_at = read_count("ANIM_HARNESS_QUIT_AT");
    if (const char* events = variable("ANIM_HARNESS_EVENTS")) {
        for (const std::string& name : split(events)) {
            const Uint8 type = event_type(name);
            if (type == SDL_NOEVENT) fail_setting("ANIM_HARNESS_EVENTS", events);
            s.events_before_quit.push_back(type);
        }
    }
    s.no_delay = read_count("ANIM_HARNESS_NO_DELAY") != 0;
    if (const char* path = variable("ANIM_HARNESS_LOG")) {
        s.log = std::fopen(path, "w");
        if (s.log == nullptr) fail_setting("ANIM_HARNESS_LOG", path);
    }
    read_save_list(s);
    if (const char* dir = variable("ANIM_HARNESS_SAVE_DIR")) s.save_dir = dir;
    if (const long k = read_count("ANIM_HARNESS_FAIL_LOAD")) harness::fail_load(k);
    s.rss_every = read_count("ANIM_HARNESS_RSS_EVERY");
    s.frame_ms = read_count("ANIM_HARNESS_FRAME_MS");
}

Settings& settings()
{
    static Settings* s = [] {
        auto* read = new Settings;  // kept for the exit report
        read_settings(*read);
        return read;
    }();
    return *s;
}

Counters& counters()
{
    static auto* c = new Counters;  // kept for the exit report
    return *c;
}

// An event of `type` as SDL would deliver it: space for keys, the left
// button for clicks.
SDL_Event make_event(Uint8 type)
{
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) event.key.keysym.sym = SDLK_SPACE;
    if (type == SDL_MOUSEBUTTONDOWN) event.button.button = SDL_BUTTON_LEFT;
    return event;
}

// True on the program's main thread, whose pauses are its frames'; SDL's
// own threads pause for their own reasons.
bool on_main_thread()
{
    return syscall(SYS_gettid) == getpid();
}

// Moves the harness's clock by `ms`.
void move_clock(Counters& c, long ms)
{
    c.clock_ms += static_cast<Uint32>(ms);
    c.reads_since_move = 0;
}

// One 8-bit colour channel of a true-colour pixel.
Uint8 channel(Uint32 pixel, Uint32 mask, Uint8 shift, Uint8 loss)
{
    return static_cast<Uint8>(((pixel & mask) >> shift) << loss);
}

// FNV-1a over the 0x00RRGGBB value of every pixel, row by row: the same
// picture gives the same hash whatever the display's pixel layout.
unsigned long long hash_pixels(SDL_Surface* surface)
{
    unsigned long long h = 14695981039346656037ull;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    const SDL_PixelFormat* f = surface->format;
    const int bpp = f->BytesPerPixel;
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = static_cast<const Uint8*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch;
        for (int x = 0; x < surface->w; ++x) {
            Uint32 pixel = 0;
            if (bpp == 4)
                pixel = reinterpret_cast<const Uint32*>(row)[x];  // rows of 4-byte pixels are aligned
            else
                std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * bpp, static_cast<size_t>(bpp));
            const Uint32 rgb = static_cast<Uint32>(channel(pixel, f->Rmask, f->Rshift, f->Rloss)) << 16 |
                               static_cast<Uint32>(channel(pixel, f->Gmask, f->Gshift, f->Gloss)) << 8 |
                               channel(pixel, f->Bmask, f->Bshift, f->Bloss);
            h = (h ^ rgb) * 1099511628211ull;
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return h;
}

// Resident memory of the process in kilobytes, 0 when it cannot be read.
long resident_kb()
{
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return 0;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool wants_saved(const Settings& s, long frame)
{
    if (s.save_all) return true;
    for (const auto& [first, last] : s.save_ranges)
        if (frame >= first && frame <= last) return true;
    return false;
}

void save_frame(SDL_Surface* surface, const Settings& s, long frame)
{
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%05ld.bmp", frame);
    const std::string path = s.save_dir + name;
    if (SDL_SaveBMP(surface, path.c_str()) != 0)
        std::fprintf(stderr, "anim_harness: cannot save %s: %s\n", path.c_str(), SDL_GetError());
}

// Names on stderr the frames of the save list past the last flipped one, in
// one line: "frame 300", "frames 106-110" or "frames 5,106-110".
void report_never_flipped(const Settings& s, long flips)
{
    std::string missing;
    bool several = false;
    for (const auto& [first, last] : s.save_ranges) {
        if (last <= flips) continue;
        const long from = std::max(first, flips + 1);
        several = several || !missing.empty() || from < last;
        missing += (missing.empty() ? "" : ",") + std::to_string(from);
        if (from < last) missing += "-" + std::to_string(last);
    }
    if (missing.empty()) return;
    std::fprintf(stderr, "anim_harness: %s %s asked to be saved %s never flipped (the program flipped %ld frame%s)\n",
                 several ? "frames" : "frame", missing.c_str(), several ? "were" : "was", flips, flips == 1 ? "" : "s");
}

// Settings are read as the program starts, so a bad one stops it at once.
__attribute__((constructor)) void start_harness()
{
    settings();
}

__attribute__((destructor)) void report_exit()
{
    Settings& s = settings();
    report_never_flipped(s, counters().flips);
    if (s.log == nullptr) return;
    std::fprintf(s.log, "exit loads=%ld live=%ld\n", harness::load_count(), harness::live_surfaces());
    std::fclose(s.log);
    s.log = nullptr;
}

}  // namespace

extern "C" int SDL_PollEvent(SDL_Event* event)
{
    static const auto real_poll = harness::next_definition<PollFn>("SDL_PollEvent");
    const Settings& s = settings();
    Counters& c = counters();
    // At or after: a program that skips its poll in the quit's frame gets
    // the quit at its next one.
    if (!c.script_started && s.quit_at > 0 && c.flips + 1 >= s.quit_at) {
        c.script_started = true;
        c.script.assign(s.events_before_quit.begin(), s.events_before_quit.end());
        c.script.push_back(SDL_QUIT);
    }
    if (c.script.empty()) return real_poll(event);
    if (event != nullptr) {  // a null event asks only whether one is waiting
        *event = make_event(c.script.front());
        c.script.pop_front();
    }
    return 1;
}

extern "C" int SDL_Flip(SDL_Surface* screen)
{
    static const auto real_flip = harness::next_definition<FlipFn>("SDL_Flip");
    const Settings& s = settings();
    const long frame = ++counters().flips;
    if (s.log != nullptr) {
        std::fprintf(s.log, "frame %ld %016llx\n", frame, hash_pixels(screen));
        std::fflush(s.log);
    }
    if (wants_saved(s, frame)) save_frame(screen, s, frame);
    if (s.log != nullptr && s.rss_every > 0 && frame % s.rss_every == 0)
        std::fprintf(s.log, "rss %ld %ld\n", frame, resident_kb());
    if (s.frame_ms > 0) move_clock(counters(), s.frame_ms);
    return real_flip(screen);
}

extern "C" void SDL_Delay(Uint32 ms)
{
    static const auto real_delay = harness::next_definition<DelayFn>("SDL_Delay");
    const Settings& s = settings();
    if (!on_main_thread()) {
        real_delay(ms);
        return;
    }
    if (s.log != nullptr) std::fprintf(s.log, "pause %u\n", static_cast<unsigned>(ms));
    if (s.frame_ms == 0) move_clock(counters(), ms);
    if (!s.no_delay) real_delay(ms);
}

extern "C" Uint32 SDL_GetTicks(void)
{
    Counters& c = counters();
    if (on_main_thread() && ++c.reads_since_move >= kSpinReads) move_clock(c, 1);
    return c.clock_ms;
}
