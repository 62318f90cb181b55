// aseprite_json: Aseprite's sprite sheet exports, parsed by nlohmann's JSON
// parser through its event (SAX) interface. Its document tree is not used:
// releasing a tree allocates, which a creation must survive memory running
// out for; the events keep each value by its field instead, in the file's
// order, which is also the order of the frames of the hash form.
#include "anim/detail/aseprite_json.h"

#include "anim/detail/error_text.h"
#include "anim/detail/file_bytes.h"

#include <nlohmann/json.hpp>

#include <cctype>   // Required for: isalpha(), isalnum()
#include <climits>  // Required for: INT_MAX
#include <cstdint>  // Required for: int64_t, uint64_t
#include <cstdio>   // Required for: snprintf()
#include <map>      // Required for: std::map
#include <new>      // Required for: std::bad_alloc
#include <string>   // Required for: std::string, std::to_string()
#include <vector>   // Required for: std::vector

namespace {

using Json = nlohmann::json;

// Largest coordinate or size of a frame: SDL 1.2 places images with 16-bit
// signed rectangles.
constexpr long long kLargestSide = 32767;

// Deepest nesting of arrays and objects taken: an export's is 4 levels.
constexpr size_t kDeepest = 32;

// A value of the file, kept by its field.
struct Value {
    enum Kind : uint8_t { object, array, whole, unsigned_whole, fraction, text, boolean, null } kind = null;
    int64_t number = 0;
    uint64_t unsigned_number = 0;
    std::string string;
    bool flag = false;
    std::vector<std::string> children;  // of an object or an array: its members' fields, in order
};

// The field of member `key` of `parent`: parent.key, or parent["key"] for a
// key that is not a name.
std::string member_field(const std::string& parent, const std::string& key)
{
    bool name = !key.empty() && (isalpha(static_cast<unsigned char>(key[0])) != 0 || key[0] == '_');
    for (const char c : key) name = name && (isalnum(static_cast<unsigned char>(c)) != 0 || c == '_');
    if (!name) return parent + "[\"" + key + "\"]";
    return parent.empty() ? key : parent + "." + key;
}

// The parser's events, kept as values by field ("" for the whole file).
class Values : public nlohmann::json_sax<Json> {
public:
    std::map<std::string, Value> values;
    std::string error;  // why the parse stopped, when it did

    bool null() override { return add(Value{}); }
    bool boolean(bool b) override
    {
        return add(with(Value::boolean, [&](Value& v) { v.flag = b; }));
    }
    bool number_integer(number_integer_t n) override
    {
        return add(with(Value::whole, [&](Value& v) { v.number = n; }));
    }
    bool number_unsigned(number_unsigned_t n) override
    {
        return add(with(Value::unsigned_whole, [&](Value& v) { v.unsigned_number = n; }));
    }
    bool number_float(number_float_t, const string_t&) override
    {
        return add(with(Value::fraction, [](Value&) {}));
    }
    bool string(string_t& s) override
    {
        return add(with(Value::text, [&](Value& v) { v.string = s; }));
    }
    bool binary(binary_t&) override { return add(Value{}); }
    bool start_object(std::size_t) override { return open(Value::object); }
    bool key(string_t& k) override
    {
        key_ = k;
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Value::array); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override
    {
        // "[json.exception.parse_error.101] parse error at line 1, ...": the
        // words after the tag.
        error = e.what();
        const size_t tag_end = error.find("] ");
        if (tag_end != std::string::npos) error.erase(0, tag_end + 2);
        error = "is not JSON: " + error;
        return false;
    }

private:
    template <typename Fill>
    static Value with(Value::Kind kind, Fill fill)
    {
        Value v;
        v.kind = kind;
        fill(v);
        return v;
    }

    // The field of the value that comes next: the next member of the open
    // array or object, or the whole file.
    std::string next_field()
    {
        if (open_.empty()) return "";
        Value& parent = values[open_.back()];
        std::string field = parent.kind == Value::array
                                ? open_.back() + "[" + std::to_string(parent.children.size()) + "]"
                                : member_field(open_.back(), key_);
        parent.children.push_back(field);
        return field;
    }
    bool add(Value v)
    {
        values[next_field()] = std::move(v);
        return true;
    }
    bool open(Value::Kind kind)
    {
        if (open_.size() == kDeepest) {
            error = "nests arrays and objects deeper than " + std::to_string(kDeepest) + " levels";
            return false;
        }
        const std::string field = next_field();
        values[field] = with(kind, [](Value&) {});
        open_.push_back(field);
        return true;
    }
    bool close()
    {
        open_.pop_back();
        return true;
    }

    std::vector<std::string> open_;  // the fields of the open arrays and objects, outermost first
    std::string key_;
};

// Reads the fields of one export, naming its file and the field at fault
// in every refusal.
class Reader {
public:
    Reader(const char* path, const std::map<std::string, Value>& values) : path_(path), values_(values) {}

    // Sets the reason "cannot read <path>: <field> <what>" ("the file" for
    // the root, whose field is ""); returns false.
    bool refuse(const std::string& field, const std::string& what) const
    {
        const std::string reason =
            std::string("cannot read ") + path_ + ": " + (field.empty() ? "the file" : field) + " " + what;
        anim::detail::set_error_text(reason.c_str());
        return false;
    }

    // The value of `field`; null when the file has none.
    const Value* find(const std::string& field) const
    {
        const auto found = values_.find(field);
        return found != values_.end() ? &found->second : nullptr;
    }

    // The value of `field`, of `kind`; null, refused, when it is missing or
    // of another kind.
    const Value* expect(const std::string& field, Value::Kind kind) const
    {
        const Value* v = find(field);
        if (v == nullptr) refuse(field, "is missing");
        if (v == nullptr || v->kind == kind) return v;
        refuse(field, kind == Value::object  ? "is not an object"
                      : kind == Value::array ? "is not an array"
                                             : "is not a string");
        return nullptr;
    }

    // Stores the value of `field`, a whole number from `lo` to `hi`, in
    // `out`; false, refused, when it is missing, not a whole number or out
    // of range.
    bool whole(const std::string& field, long long lo, long long hi, int& out) const
    {
        const Value* v = find(field);
        if (v == nullptr) return refuse(field, "is missing");
        const bool in_range = v->kind == Value::whole ? v->number >= lo && v->number <= hi
                                                      : v->unsigned_number <= static_cast<uint64_t>(hi) &&
                                                            static_cast<long long>(v->unsigned_number) >= lo;
        if (v->kind != Value::whole && v->kind != Value::unsigned_whole) return refuse(field, "is not a whole number");
        const std::string shown =
            v->kind == Value::whole ? std::to_string(v->number) : std::to_string(v->unsigned_number);
        if (!in_range)
            return refuse(field, "is " + shown + ", not from " + std::to_string(lo) + " to " + std::to_string(hi));
        out = static_cast<int>(v->kind == Value::whole ? v->number : static_cast<int64_t>(v->unsigned_number));
        return true;
    }

private:
    const char* path_;
    const std::map<std::string, Value>& values_;
};

// Reads the frame at `field`: its rectangle of the sheet and its duration.
// Rotated and trimmed frames are refused, since a frame is drawn as its
// rectangle stands.
bool read_frame(const Reader& r, const std::string& field, anim::detail::AsepriteExport::Frame& out)
{
    int x = 0, y = 0, w = 0, h = 0;
    const std::string rect = field + ".frame";
    if (r.expect(field, Value::object) == nullptr || r.expect(rect, Value::object) == nullptr ||
        !r.whole(rect + ".x", 0, kLargestSide, x) || !r.whole(rect + ".y", 0, kLargestSide, y) ||
        !r.whole(rect + ".w", 1, kLargestSide, w) || !r.whole(rect + ".h", 1, kLargestSide, h) ||
        !r.whole(field + ".duration", 1, INT_MAX, out.duration_ms))
        return false;
    for (const char* flag : {".rotated", ".trimmed"}) {
        const Value* v = r.find(field + flag);
        if (v != nullptr && v->kind == Value::boolean && v->flag)
            return r.refuse(field + flag, "is true: export the sheet with its frames neither rotated nor trimmed");
    }
    out.rect = SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), static_cast<Uint16>(h)};
    return true;
}

// Reads the tag at `field` of an export of `frames` frames: its name, and
// its frames in the order its direction plays them.
bool read_tag(const Reader& r, const std::string& field, int frames, anim::detail::AsepriteExport::Tag& out)
{
    int from = 0, to = 0;
    const Value* name = r.expect(field, Value::object) != nullptr ? r.expect(field + ".name", Value::text) : nullptr;
    if (name == nullptr || !r.whole(field + ".from", 0, frames - 1, from) ||
        !r.whole(field + ".to", from, frames - 1, to))
        return false;
    out.name = name->string;
    std::string direction = "forward";
    if (r.find(field + ".direction") != nullptr) {
        const Value* given = r.expect(field + ".direction", Value::text);
        if (given == nullptr) return false;
        direction = given->string;
    }
    const bool reverse = direction == "reverse" || direction == "pingpong_reverse";
    const bool pingpong = direction == "pingpong" || direction == "pingpong_reverse";
    if (!reverse && !pingpong && direction != "forward")
        return r.refuse(field + ".direction",
                        "is \"" + direction + "\", not forward, reverse, pingpong or pingpong_reverse");
    // There and, for a ping-pong, back again without showing either end twice.
    for (int i = 0; i <= to - from; ++i) out.frames.push_back(reverse ? to - i : from + i);
    if (pingpong)
        for (int i = to - from - 1; i >= 1; --i) out.frames.push_back(reverse ? to - i : from + i);
    return true;
}

// The file at `image`, named from the export at `path`: from the export's
// folder unless it is absolute.
std::string beside(const char* path, const std::string& image)
{
    const std::string json = path;
    const size_t slash = json.find_last_of("/\\");
    if (image[0] == '/' || image[0] == '\\' || slash == std::string::npos) return image;
    return json.substr(0, slash + 1) + image;
}

// read_aseprite, which may throw std::bad_alloc.
bool read_export(const char* path, anim::detail::AsepriteExport& out)
{
    const anim::detail::FileBytes bytes = anim::detail::read_file(path, "a sprite sheet export");
    if (bytes.data == nullptr) {
        // SDL_SetError overwrites the reason as it formats: a copy goes in.
        const std::string reason = SDL_GetError();
        SDL_SetError("cannot read %s: %s", path, reason.c_str());
        return false;
    }
    Values parsed;
    const Reader r(path, parsed.values);
    const unsigned char* begin = bytes.data.get();
    if (!Json::sax_parse(begin, begin + bytes.size, &parsed)) return r.refuse("", parsed.error);
    if (r.find("")->kind != Value::object) return r.refuse("", "is not a JSON object");
    const Value* image = r.expect("meta", Value::object) != nullptr ? r.expect("meta.image", Value::text) : nullptr;
    if (image == nullptr) return false;
    if (image->string.empty()) return r.refuse("meta.image", "is empty");
    out.image = beside(path, image->string);
    const Value* frames = r.find("frames");
    if (frames == nullptr || (frames->kind != Value::array && frames->kind != Value::object))
        return r.refuse("frames", frames == nullptr ? "is missing" : "is neither an array nor an object");
    if (frames->children.empty()) return r.refuse("frames", "is empty");
    const std::string most = std::to_string(anim::detail::kMostTaggedFrames);
    if (frames->children.size() > static_cast<size_t>(anim::detail::kMostTaggedFrames))
        return r.refuse("frames", "holds more than " + most + " frames");
    for (const std::string& field : frames->children)
        if (!read_frame(r, field, out.frames.emplace_back())) return false;
    const int count = static_cast<int>(out.frames.size());
    const Value* tags = r.find("meta.frameTags") != nullptr ? r.expect("meta.frameTags", Value::array) : nullptr;
    if (r.find("meta.frameTags") != nullptr && tags == nullptr) return false;
    long long played = 0;
    for (size_t i = 0; tags != nullptr && i < tags->children.size(); ++i) {
        if (!read_tag(r, tags->children[i], count, out.tags.emplace_back())) return false;
        played += static_cast<long long>(out.tags.back().frames.size());
        if (played > anim::detail::kMostTaggedFrames)
            return r.refuse("meta.frameTags", "play more than " + most + " frames in all");
    }
    if (out.tags.empty()) {
        out.tags.emplace_back();
        for (int i = 0; i < count; ++i) out.tags.back().frames.push_back(i);
    }
    return true;
}

}  // namespace

namespace anim::detail {

bool read_aseprite(const char* path, AsepriteExport& out)
{
    try {
        return read_export(path, out);
    } catch (const std::bad_alloc&) {
        SDL_OutOfMemory();
        return false;
    }
}

bool frames_fit(const char* path, const AsepriteExport& e, int width, int height)
{
    for (size_t i = 0; i < e.frames.size(); ++i) {
        const SDL_Rect& f = e.frames[i].rect;
        if (f.x + f.w <= width && f.y + f.h <= height) continue;
        char reason[512];
        snprintf(reason, sizeof reason, "cannot read %s: frame %zu (%d, %d, %d x %d) runs past the sheet's %d x %d",
                 path, i, f.x, f.y, f.w, f.h, width, height);
        set_error_text(reason);
        return false;
    }
    return true;
}

}  // namespace anim::detail
