#include "smooth/LuxMiniHtml.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>

namespace {

constexpr char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string UpperText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Upper(c);
  return out;
}

// Leading digits as a number; anything else counts 0. Large values stop at
// a bound that no screen reaches, so that sums of them cannot overflow.
int LeadingNumber(std::string_view s) {
  constexpr int kLimit = 1000000;
  int value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    value = std::min(kLimit, value * 10 + (c - '0'));
  }
  return value;
}

// --- Entities ----------------------------------------------------------------------------

struct TEntity {
  std::string_view Name;  // without '&' and ';'
  char Character;         // Windows-1252
};
constexpr std::array<TEntity, 12> kEntities{{{"amp", '&'},
                                             {"quot", '"'},
                                             {"sect", '\xA7'},
                                             {"permil", '\x89'},
                                             {"reg", '\xAE'},
                                             {"copy", '\xA9'},
                                             {"para", '\xB6'},
                                             {"trade", '\x99'},
                                             {"euro", '\x80'},
                                             {"nbsp", ' '},
                                             {"lt", '<'},
                                             {"gt", '>'}}};

// The entity at text[at] (an '&'): its character and length, or 0.
size_t MatchEntity(std::string_view text, size_t at, char& character) {
  for (const TEntity& e : kEntities) {
    const size_t length = e.Name.size() + 2;
    if (text.size() - at >= length && text.compare(at + 1, e.Name.size(), e.Name) == 0 &&
        text[at + 1 + e.Name.size()] == ';') {
      character = e.Character;
      return length;
    }
  }
  return 0;
}

// The text between the first pair of double quotes from `from` on (a
// missing closing quote: up to the end).
std::string_view QuotedValue(std::string_view tag, size_t from) {
  const size_t quote = tag.find('"', from);
  if (quote == std::string_view::npos) return {};
  const size_t end = tag.find('"', quote + 1);
  return tag.substr(quote + 1, end == std::string_view::npos ? std::string_view::npos : end - quote - 1);
}

// Where upper-case `name` first occurs in text, letters compared without
// case.
size_t FindNoCase(std::string_view text, std::string_view name) {
  if (name.empty()) return 0;
  if (name.size() > text.size()) return std::string_view::npos;
  // Only where the first letter matches are the others compared.
  const char first = name[0], firstLower = Lower(first);
  const size_t last = text.size() - name.size();
  for (size_t i = 0; i <= last; ++i) {
    if (text[i] != first && text[i] != firstLower) continue;
    size_t k = 1;
    while (k < name.size() && Upper(text[i + k]) == name[k]) ++k;
    if (k == name.size()) return i;
  }
  return std::string_view::npos;
}

// Whether text is upper-case `name`, letters compared without case.
bool EqualNoCase(std::string_view text, std::string_view name) {
  return text.size() == name.size() &&
         std::equal(text.begin(), text.end(), name.begin(), [](char c, char n) { return Upper(c) == n; });
}

// The value of the attribute whose name (of `length` letters) stands at
// tag[at]: see HtmlAttribute.
std::string_view AttributeValueAt(std::string_view tag, size_t at, size_t length) {
  size_t i = at + length;
  while (i < tag.size() && (tag[i] == ' ' || tag[i] == '=')) ++i;
  if (i < tag.size() && tag[i] == '"') return QuotedValue(tag, i);
  size_t end = i;
  while (end < tag.size() && tag[end] != ' ') ++end;
  return tag.substr(i, end - i);
}

// Upper-case attribute names that a tag reads together and, for each byte,
// the names that may start with it in either case: the other bytes are
// passed over at one look-up each.
template <size_t N>
struct TAttributeNames {
  static_assert(N <= 8);
  std::array<std::string_view, N> Names;
  std::array<uint8_t, 256> Starts{};
  constexpr explicit TAttributeNames(const std::array<std::string_view, N>& names) : Names(names) {
    for (size_t n = 0; n < N; ++n) {
      Starts[uint8_t(names[n][0])] |= uint8_t(1u << n);
      Starts[uint8_t(Lower(names[n][0]))] |= uint8_t(1u << n);
    }
  }
};

// The values of several attributes, as HtmlAttribute finds them, in one
// pass over the tag: each name's first occurrence counts.
template <size_t N>
std::array<std::string_view, N> TagAttributes(std::string_view tag, const TAttributeNames<N>& set) {
  std::array<std::string_view, N> values{};
  unsigned wanted = (1u << N) - 1;
  for (size_t i = 0; i < tag.size() && wanted != 0; ++i) {
    for (unsigned candidates = set.Starts[uint8_t(tag[i])] & wanted; candidates != 0; candidates &= candidates - 1) {
      const unsigned n = unsigned(std::countr_zero(candidates));
      const std::string_view name = set.Names[n];
      if (name.size() > tag.size() - i) continue;
      size_t k = 1;
      while (k < name.size() && Upper(tag[i + k]) == name[k]) ++k;
      if (k < name.size()) continue;
      values[n] = AttributeValueAt(tag, i, name.size());
      wanted &= ~(1u << n);
    }
  }
  return values;
}

// --- Tags --------------------------------------------------------------------------------

struct TTagName {
  std::string_view Name;
  THtmlTag Tag;
};
constexpr std::array<TTagName, 22> kTagNames{{{"A", THtmlTag::A},       {"B", THtmlTag::B},
                                              {"BODY", THtmlTag::Body}, {"BR", THtmlTag::Br},
                                              {"BLINK", THtmlTag::Blink}, {"E", THtmlTag::E},
                                              {"FONT", THtmlTag::Font}, {"HI", THtmlTag::Hi},
                                              {"HR", THtmlTag::Hr},     {"I", THtmlTag::I},
                                              {"IND", THtmlTag::Ind},   {"IMG", THtmlTag::Img},
                                              {"LI", THtmlTag::Li},     {"OFS", THtmlTag::Ofs},
                                              {"P", THtmlTag::P},       {"S", THtmlTag::S},
                                              {"SHAD", THtmlTag::Shad}, {"SUB", THtmlTag::Sub},
                                              {"SUP", THtmlTag::Sup},   {"U", THtmlTag::U},
                                              {"UL", THtmlTag::Ul},     {"Z", THtmlTag::Z}}};

void ParseTagName(THtmlToken& token) {
  std::string_view t = token.Text;
  size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  if (i < t.size() && t[i] == '/') {
    token.Closing = true;
    ++i;
  }
  size_t end = i;
  while (end < t.size() && ((t[end] >= 'A' && t[end] <= 'Z') || (t[end] >= 'a' && t[end] <= 'z'))) ++end;
  const std::string_view name = t.substr(i, end - i);
  for (const TTagName& n : kTagNames)
    if (EqualNoCase(name, n.Name)) token.Tag = n.Tag;
}

// An attribute's colour: "#RRGGBB" (in either case) or a colour name.
TColor AttributeColor(std::string_view value) {
  if (value.empty() || value[0] != '#') return HtmlColorByName(value);
  // The hex reader wants upper case; it looks at "#RRGGBB" only.
  std::array<char, 7> upper{};
  const size_t n = std::min(value.size(), upper.size());
  std::transform(value.begin(), value.begin() + std::ptrdiff_t(n), upper.begin(), Upper);
  return HtmlHexColor(std::string_view(upper.data(), n));
}

}  // namespace

TColor HtmlColorByName(std::string_view name) {
  struct TNamed {
    std::string_view Name;
    uint32_t Value;
  };
  static constexpr TNamed kNames[] = {
      {"clred", 0x0000FF},           {"clblack", 0x000000},         {"clblue", 0xFF0000},
      {"clgreen", 0x008000},         {"claqua", 0xFFFF00},          {"clyellow", 0x00FFFF},
      {"clfuchsia", 0xFF00FF},       {"clwhite", 0xFFFFFF},         {"cllime", 0x00FF00},
      {"clsilver", 0xC0C0C0},        {"clgray", 0x808080},          {"clolive", 0x008080},
      {"clnavy", 0x800000},          {"clpurple", 0x800080},        {"clteal", 0x808000},
      {"clmaroon", 0x000080},        {"clbackground", 0xFF000001},  {"clactivecaption", 0xFF000002},
      {"clinactivecaption", 0xFF000003}, {"clmenu", 0xFF000004},    {"clwindow", 0xFF000005},
      {"clwindowframe", 0xFF000006}, {"clmenutext", 0xFF000007},    {"clwindowtext", 0xFF000008},
      {"clcaptiontext", 0xFF000009}, {"clactiveborder", 0xFF00000A}, {"clinactiveborder", 0xFF00000B},
      {"clappworkspace", 0xFF00000C}, {"clhighlight", 0xFF00000D},  {"clhighlighttext", 0xFF00000E},
      {"clbtnface", 0xFF00000F},     {"clbtnshadow", 0xFF000010},   {"clgraytext", 0xFF000011},
      {"clbtntext", 0xFF000012},     {"clinactivecaptiontext", 0xFF000013}, {"clbtnhighlight", 0xFF000014},
      {"cl3ddkshadow", 0xFF000015},  {"cl3dlight", 0xFF000016},     {"clinfotext", 0xFF000017},
      {"clinfobk", 0xFF000018}};
  for (const TNamed& n : kNames)
    if (n.Name.size() == name.size() &&
        std::equal(name.begin(), name.end(), n.Name.begin(), [](char c, char l) { return Lower(c) == l; }))
      return TColor(n.Value);
  return 0;
}

TColor HtmlHexColor(std::string_view text) {
  // Each digit at or above 'A' counts as its code minus 55, any other as its
  // code minus 48; missing digits count 0.
  auto digit = [&](size_t i) -> int {
    if (i >= text.size()) return 0;
    const int c = uint8_t(text[i]);
    return c >= 'A' ? c - 55 : c - 48;
  };
  auto pair = [&](size_t i) { return uint32_t(16 * digit(i) + digit(i + 1)) & 0xFF; };
  return TColor(pair(1) | pair(3) << 8 | pair(5) << 16);
}

std::string_view HtmlAttribute(std::string_view tag, std::string_view name) {
  const size_t at = FindNoCase(tag, name);
  return at == std::string_view::npos ? std::string_view() : AttributeValueAt(tag, at, name.size());
}

std::vector<THtmlToken> TokenizeMiniHtml(std::string_view source, bool wordWrap) {
  // "<#" stands for a lone '#': the first such pair loses its '<', and the
  // first '>' after it goes too.
  std::string escaped;
  std::string_view text = source;
  if (const size_t hash = source.find("<#"); hash != std::string_view::npos) {
    escaped.assign(source);
    escaped.erase(hash, 1);
    if (const size_t close = escaped.find('>', hash + 1); close != std::string::npos) escaped.erase(close, 1);
    text = escaped;
  }

  // Each token starts at a '<' or a CR, or after a blank or a tag: room for
  // all of them at once spares the copies of a growing vector.
  std::vector<THtmlToken> tokens;
  tokens.reserve(1 + 2 * size_t(std::count_if(text.begin(), text.end(),
                                               [](char c) { return c == '<' || c == '\r' || c == ' '; })));
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n') {
      ++i;
    } else if (c == '\r') {
      THtmlToken& t = tokens.emplace_back();
      t.IsTag = true;
      t.Tag = THtmlTag::Br;
      t.Offset = uint32_t(i);
      ++i;
    } else if (c == '<') {
      if (i + 1 == text.size()) break;  // a lone '<' at the end
      // A tag without its '>' runs to the end of the text.
      size_t close = text.find('>', i + 1);
      if (close == std::string_view::npos) close = text.size();
      THtmlToken& t = tokens.emplace_back();
      t.IsTag = true;
      t.Text.assign(text.substr(i + 1, close - i - 1));
      t.Offset = uint32_t(i);
      ParseTagName(t);
      i = close + 1;
    } else {
      THtmlToken& t = tokens.emplace_back();
      t.Offset = uint32_t(i);
      // Plain stretches are appended whole; entities and LFs between them.
      size_t start = i;
      auto flush = [&] { t.Text.append(text.substr(start, i - start)); };
      while (i < text.size() && text[i] != '<' && text[i] != '\r') {
        const char d = text[i];
        char decoded;
        size_t length = 0;
        if (d == '\n' || (d == '&' && (length = MatchEntity(text, i, decoded)) != 0)) {
          flush();
          if (length) t.Text += decoded;
          i += length ? length : 1;
          start = i;
          continue;
        }
        ++i;
        if (d == ' ' && wordWrap) {
          t.EndsWithBlank = true;
          break;
        }
      }
      flush();
      if (t.Text.empty()) tokens.pop_back();  // only LFs
    }
  }
  return tokens;
}

// --- Layout ------------------------------------------------------------------------------

namespace {

enum class TAlign : uint8_t { Left, Center, Right };

// Everything a tag can change, carried from one line to the next.
struct TState {
  TMiniHtmlFont Font;
  TColor Background = kHtmlNoColor;
  bool Sub = false, Sup = false, Shadow = false, Error = false, Hidden = false;
  bool InAnchor = false;
  std::string AnchorName;
  int AnchorCount = 0;
  int ListLevel = 0;
  int Offset = 0;  // OFS
  TAlign Align = TAlign::Left;
  int Indent = 0;
  // What closing tags put back.
  TColor AnchorColor = 0, AnchorBackground = kHtmlNoColor;
  TColor FontColor = 0, FontBackground = kHtmlNoColor;
  TColor HiColor = 0, HiBackground = kHtmlNoColor;
  TColor ParagraphBackground = kHtmlNoColor;
};

// What measuring one line found.
struct TLine {
  size_t End = 0;  // token after the line
  int Width = 0, Height = 0, SubExtra = 0, SupExtra = 0;
  bool Content = false;  // a run or an image
  bool Broken = false;   // ended by a tag (BR, HR, ...) rather than by the text
};

constexpr int kBulletIndent = 12;

// The attributes each tag reads. " COLOR" with its blank, so that BGCOLOR
// does not count as it.
constexpr TAttributeNames<2> kBodyAttributes({"BGCOLOR", "BGCOLORTO"});
constexpr TAttributeNames<4> kFontAttributes({"FACE", " COLOR", "BGCOLOR", "SIZE"});
constexpr TAttributeNames<3> kParagraphAttributes({"ALIGN", "INDENT", "BGCOLORTO"});
// An IMG with "WRAP" anywhere in it gives its line the text's height: the
// value found for it is not null then, though it may be empty.
constexpr TAttributeNames<4> kImageAttributes({"SRC", "WIDTH", "HEIGHT", "WRAP"});
constexpr TAttributeNames<3> kItemAttributes({"TYPE", " COLOR", "NAME"});
constexpr size_t kMostAttributes = 4;
constexpr TColor kHighlight = TColor(0xFF00000D), kHighlightText = TColor(0xFF00000E);
constexpr TColor kErrorColor = 0x0000FF;

class TLayout {
 public:
  TLayout(std::string_view text, const TMiniHtmlParams& params, TMiniHtmlMeasurer& measurer)
      : params_(params), measurer_(measurer), tokens_(TokenizeMiniHtml(text, params.WordWrap)) {
    BuildUnderlineMarks();
  }

  TMiniHtmlLayout Run() {
    TState state;
    state.Font = params_.Font;
    state.FontColor = state.AnchorColor = state.HiColor = params_.Font.Color;
    // Mostly one thing to draw per run, image, bullet or rule: room for them
    // at once (not for every token: a text of tags alone draws nothing).
    if (!params_.MeasureOnly)
      result_.Ops.reserve(8 + size_t(std::count_if(tokens_.begin(), tokens_.end(), [](const THtmlToken& t) {
                            return !t.IsTag || t.Tag == THtmlTag::Img || t.Tag == THtmlTag::Li || t.Tag == THtmlTag::Hr;
                          })));
    const int lineLeft = params_.Rect.Left + 1;
    int y = params_.Rect.Top, total = 0;
    size_t pos = 0;
    while (pos < tokens_.size()) {
      const TState before = state;
      const int startOffset = state.Offset;
      memoSize_ = memoNext_ = 0;
      sizeCount_ = sizeNext_ = 0;
      TLine line = Step(pos, tokens_.size(), state, false, 0, 0, TLine{});
      if (line.End <= pos) line.End = pos + 1;  // every line takes a token
      if (!line.Content && line.Broken && line.Height == 0) line.Height = GhHeight(before.Font);
      if (line.End < tokens_.size()) line.Height += params_.LineSpacing;
      int left = lineLeft + startOffset;
      const int right = params_.Rect.Right;
      if (state.Align == TAlign::Right) left = std::max(left, right - line.Width);
      else if (state.Align == TAlign::Center && right - left - line.Width > 0) left += (right - left - line.Width) / 2;
      left += state.Indent;
      const int full = line.Height + line.SubExtra + line.SupExtra;
      if (!params_.MeasureOnly) {
        state = before;
        memoNext_ = 0;
        sizeNext_ = 0;
        Step(pos, line.End, state, true, left, y, line);
      }
      result_.Width = std::max(result_.Width, line.Width);
      total += full;
      y += full;
      pos = line.End;
      if (!params_.MeasureOnly && y + GhHeight(state.Font) > params_.Rect.Bottom) break;
    }
    result_.Height = (total > 0 ? total : GhHeight(params_.Font)) + 2;
    return std::move(result_);
  }

 private:
  int GhHeight(const TMiniHtmlFont& font) { return measurer_.MeasureRun("gh", font).Height; }

  // The extent of run `token`. Measuring a line keeps the extents of its
  // first runs; drawing the line takes them back in order instead of
  // measuring again. The fonts of the two passes differ at most in colour, which
  // leaves the extent alone.
  THtmlSize RunSize(size_t token, const TMiniHtmlFont& font, bool draw) {
    if (draw && sizeNext_ < sizeCount_ && sizes_[sizeNext_].Token == token) {
      const TRunSize& kept = sizes_[sizeNext_++];
      return {kept.Width, kept.Height};
    }
    const THtmlSize size = measurer_.MeasureRun(tokens_[token].Text, font);
    if (!draw && sizeCount_ < sizes_.size()) sizes_[sizeCount_++] = {token, size.Width, size.Height};
    return size;
  }

  // The attributes `names` of tag t. Measuring a line looks them up and
  // keeps the first ones in order; drawing the line then takes them back in
  // the same order instead of reading those tags again.
  template <size_t N>
  std::array<std::string_view, N> Attributes(const THtmlToken& t, const TAttributeNames<N>& names) {
    static_assert(N <= kMostAttributes);
    const size_t token = size_t(&t - tokens_.data());
    std::array<std::string_view, N> values;
    if (memoNext_ < memoSize_ && memo_[memoNext_].Token == token && memo_[memoNext_].Names == &names) {
      std::copy_n(memo_[memoNext_++].Values.begin(), N, values.begin());
      return values;
    }
    values = TagAttributes(t.Text, names);
    if (memoNext_ == memoSize_ && memoSize_ < memo_.size()) {
      TMemo& m = memo_[memoSize_++];
      m.Token = token;
      m.Names = &names;
      std::copy_n(values.begin(), N, m.Values.begin());
      ++memoNext_;
    }
    return values;
  }

  // For each token, whether the next blank of the text after it comes
  // before the next closing anchor: an underlined run then takes a "_", so
  // that the underline crosses the blank. One pass from the end.
  void BuildUnderlineMarks() {
    const bool underlines = std::any_of(tokens_.begin(), tokens_.end(), [](const THtmlToken& t) {
      return t.IsTag && (t.Tag == THtmlTag::A || t.Tag == THtmlTag::U);
    });
    if (!underlines) return;
    continues_.assign(tokens_.size(), false);
    bool blankFirst = false;  // of the tokens after the current one, a blank comes before any "</A"
    for (size_t i = tokens_.size(); i-- > 0;) {
      continues_[i] = blankFirst;
      const THtmlToken& t = tokens_[i];
      if (t.IsTag && t.Tag == THtmlTag::A && t.Closing) blankFirst = false;
      else if (!t.IsTag && t.Text.find(' ') != std::string::npos) blankFirst = true;
    }
  }

  // One line from token `from`, up to `limit`: measures (draw false) or
  // draws at (left, top) with the measured line. Returns the measurement.
  TLine Step(size_t from, size_t limit, TState& st, bool draw, int left, int top, const TLine& measured) {
    TLine line;
    const int available = params_.Rect.Right - (params_.Rect.Left + 1 + st.Offset);
    int x = 0;  // from the line's start
    bool endsWithBlank = false, bullet = false;
    size_t i = from;
    for (; i < limit; ++i) {
      const THtmlToken& t = tokens_[i];
      if (!t.IsTag) {
        if (st.Hidden) continue;
        const THtmlSize size = RunSize(i, st.Font, draw);
        line.Height = std::max(line.Height, size.Height);
        if (st.Sub && line.SubExtra < size.Height / 4) line.SubExtra = size.Height / 2;
        if (st.Sup && line.SupExtra < size.Height / 4) line.SupExtra = size.Height / 2;
        const bool fits = x + size.Width <= available || !params_.WordWrap || !endsWithBlank ||
                          size.Width >= available;
        if (!draw && !fits && i > from) break;
        if (draw) DrawRun(t, i, st, left + x, top, size, measured);
        else result_.PlainText += t.Text;
        x += size.Width;
        line.Width = x;
        line.Content = true;
        endsWithBlank = t.EndsWithBlank;
        continue;
      }
      bool ends = false;
      if (!Tag(t, st, draw, left, top, x, line, measured, available, i > from, bullet, ends)) break;
      line.Width = std::max(line.Width, x);
      if (ends) {
        line.Broken = true;
        ++i;
        break;
      }
    }
    line.End = i;
    return line;
  }

  void DrawRun(const THtmlToken& t, size_t index, const TState& st, int x, int top, THtmlSize size,
               const TLine& line) {
    int y = top;
    if (st.Sup) y -= line.SupExtra / 2;
    if (st.Sub) y += line.SubExtra / 2;
    std::string text = t.Text;
    if ((st.Font.Style & kHtmlUnderline) && !continues_.empty() && continues_[index]) text += '_';
    if (st.Shadow) {
      TMiniHtmlOp& shadow = AddText(text, st.Font, kHtmlNoColor, x + params_.ShadowOffset, y + params_.ShadowOffset);
      shadow.Font.Color = params_.ShadowColor;
    }
    AddText(std::move(text), st.Font, st.Background, x, y);
    if (st.Error) {
      // A zig-zag of 2-pixel segments between 4 and 2 pixels above the bottom.
      const int bottom = top + line.Height;
      for (int px = x, up = 4; px < x + size.Width; px += 2, up = 6 - up)
        AddLine(px, bottom - up, 2, 2 * up - 6, kErrorColor);
    }
    HitTest(st, x, y, size);
  }

  void HitTest(const TState& st, int x, int y, THtmlSize size) {
    if (!st.InAnchor || result_.OnAnchor) return;
    if (params_.HitX >= x && params_.HitX < x + size.Width && params_.HitY >= y && params_.HitY < y + size.Height) {
      result_.OnAnchor = true;
      result_.Anchor = st.AnchorName;
    }
  }

  TMiniHtmlOp& AddText(std::string text, const TMiniHtmlFont& font, TColor background, int x, int y) {
    TMiniHtmlOp& op = result_.Ops.emplace_back();
    op.Kind = okText;
    op.Text = std::move(text);
    op.Font = font;
    op.Background = background;
    op.X = x;
    op.Y = y;
    return op;
  }

  void AddLine(int x, int y, int dx, int dy, TColor color) {
    TMiniHtmlOp& op = result_.Ops.emplace_back();
    op.Kind = okLine;
    op.X = x;
    op.Y = y;
    op.Width = dx;
    op.Height = dy;
    op.Color = color;
  }

  // Applies one tag. Returns false when the tag must wait for the next line
  // (an image that does not fit, a second bullet); sets ends when the tag
  // ends the line.
  bool Tag(const THtmlToken& t, TState& st, bool draw, int left, int top, int& x, TLine& line,
           const TLine& measured, int available, bool notFirst, bool& bullet, bool& ends) {
    const bool closing = t.Closing;
    switch (t.Tag) {
      case THtmlTag::A:
        if (closing) {
          st.InAnchor = false;
          st.Font.Style &= uint8_t(~kHtmlUnderline);
          st.Font.Color = st.AnchorColor;
          st.Background = st.AnchorBackground;
        } else {
          ++st.AnchorCount;
          st.InAnchor = true;
          st.AnchorName = QuotedValue(t.Text, 0);
          st.AnchorColor = st.Font.Color;
          st.AnchorBackground = st.Background;
          st.Font.Style |= kHtmlUnderline;
          st.Font.Color = params_.URLColor;
          if (draw && st.AnchorCount == params_.HoverAnchor) {
            if (params_.HoverColor != kHtmlNoColor) st.Font.Color = params_.HoverColor;
            if (params_.HoverBackground != kHtmlNoColor) st.Background = params_.HoverBackground;
          }
        }
        break;
      case THtmlTag::B: SetStyle(st, kHtmlBold, !closing); break;
      case THtmlTag::I: SetStyle(st, kHtmlItalic, !closing); break;
      case THtmlTag::U: SetStyle(st, kHtmlUnderline, !closing); break;
      case THtmlTag::S: SetStyle(st, kHtmlStrikeOut, !closing); break;
      case THtmlTag::Body:
        if (closing) {
          st.Font.Color = params_.Font.Color;
        } else if (draw) {
          const auto [background, gradient] = Attributes(t, kBodyAttributes);
          if (!background.empty()) st.Background = AttributeColor(background);
          if (!gradient.empty()) st.Background = kHtmlNoColor;
        }
        break;
      case THtmlTag::Br: ends = true; break;
      case THtmlTag::Blink:
        if (closing) st.Font.Color = params_.Font.Color;
        else if (!params_.SuppressBlink) st.Font.Color = 0xFFFFFF;
        break;
      case THtmlTag::E: st.Error = !closing && draw; break;
      case THtmlTag::Font:
        if (closing) {
          st.Font.Name = params_.Font.Name;
          st.Font.Size = params_.Font.Size;
          if (draw) {
            st.Font.Color = st.FontColor;
            st.Background = st.FontBackground;
          }
        } else {
          st.FontColor = st.Font.Color;
          st.FontBackground = st.Background;
          const auto [face, color, background, size] = Attributes(t, kFontAttributes);
          if (!face.empty()) st.Font.Name = UpperText(face);
          if (!color.empty()) st.Font.Color = AttributeColor(color);
          if (draw && !background.empty()) st.Background = AttributeColor(background);
          if (!size.empty()) {
            static constexpr int kSizes[] = {8, 10, 12, 14, 16};
            const int n = LeadingNumber(size);
            st.Font.Size = n >= 1 && n <= 5 ? kSizes[n - 1] : std::max(1, std::min(n, 1000));
          }
        }
        break;
      case THtmlTag::Hi:
        if (!draw) break;
        if (closing) {
          st.Font.Color = st.HiColor;
          st.Background = st.HiBackground;
        } else {
          st.HiColor = st.Font.Color;
          st.HiBackground = st.Background;
          st.Font.Color = kHighlightText;
          st.Background = kHighlight;
        }
        break;
      case THtmlTag::Hr:
        if (closing) break;
        if (draw) {
          const int y = top + measured.Height + 1;
          AddLine(params_.Rect.Left, y, params_.Rect.Right - params_.Rect.Left, 0, 0);
        }
        ends = true;
        break;
      case THtmlTag::Ind:
        if (!closing) {
          const int n = LeadingNumber(HtmlAttribute(t.Text, "X"));
          if (x < n) x = n;
        }
        break;
      case THtmlTag::Img:
        if (!closing) return Image(t, st, draw, left, top, x, line, available, notFirst);
        break;
      case THtmlTag::Li:
        if (closing) {
          ends = line.Content;
          break;
        }
        if (bullet && notFirst) return false;
        bullet = true;
        Bullet(t, st, draw, left, top, x, line);
        break;
      case THtmlTag::Ofs:
        st.Offset = closing ? 0 : LeadingNumber(HtmlAttribute(t.Text, "X"));
        if (!closing) x = st.Offset;
        break;
      case THtmlTag::P:
        if (closing) {
          st.Background = st.ParagraphBackground;
          ends = true;
        } else {
          st.ParagraphBackground = st.Background;
          const auto [alignText, indent, gradient] = Attributes(t, kParagraphAttributes);
          const std::string align = UpperText(alignText);
          if (align.find("RIGHT") != std::string::npos) st.Align = TAlign::Right;
          if (align.find("LEFT") != std::string::npos) st.Align = TAlign::Left;
          if (align.find("CENTER") != std::string::npos) st.Align = TAlign::Center;
          if (!indent.empty()) st.Indent = LeadingNumber(indent);
          if (!gradient.empty()) st.Background = kHtmlNoColor;
        }
        break;
      case THtmlTag::Shad: st.Shadow = !closing; break;
      case THtmlTag::Sub:
      case THtmlTag::Sup:
        if (closing) st.Sub = st.Sup = false;
        else (t.Tag == THtmlTag::Sub ? st.Sub : st.Sup) = true;
        break;
      case THtmlTag::Ul:
        if (closing) {
          if (st.ListLevel > 0) --st.ListLevel;
          else st.Font.Style &= uint8_t(~kHtmlUnderline);
        } else {
          ++st.ListLevel;
          ends = line.Content;
        }
        break;
      case THtmlTag::Z: st.Hidden = !closing; break;
      case THtmlTag::Unknown: break;
    }
    return true;
  }

  static void SetStyle(TState& st, uint8_t bit, bool on) {
    st.Font.Style = on ? uint8_t(st.Font.Style | bit) : uint8_t(st.Font.Style & ~bit);
  }

  bool Image(const THtmlToken& t, const TState& st, bool draw, int left, int top, int& x, TLine& line, int available,
             bool notFirst) {
    TMiniHtmlImage image;
    const auto [source, widthText, heightText, wrap] = Attributes(t, kImageAttributes);
    const std::string_view head = source;
    auto startsWith = [head](std::string_view prefix) { return EqualNoCase(head.substr(0, prefix.size()), prefix); };
    THtmlSize size;
    bool found;
    if (startsWith("IDX:")) {
      image.Kind = TMiniHtmlImage::ImageList;
      image.Index = LeadingNumber(source.substr(4));
      found = measurer_.ImageSize(image, size);
    } else if (startsWith("SSYS:") || startsWith("LSYS:")) {
      image.Kind = Upper(source[0]) == 'S' ? TMiniHtmlImage::SmallIcon : TMiniHtmlImage::LargeIcon;
      image.Source.assign(source.substr(5));
      found = measurer_.ImageSize(image, size);
    } else if (source.find(':') == std::string_view::npos) {
      image.Source.assign(source);
      found = measurer_.ImageSize(image, size);
      const int w = LeadingNumber(widthText), h = LeadingNumber(heightText);
      if (found && w >= 1 && h >= 1) size = {w, h};
    } else {
      found = false;
    }
    if (!found) return true;
    if (!draw && notFirst && x + size.Width > available && size.Width < available) return false;
    if (draw && !st.Hidden) {
      TMiniHtmlOp& op = result_.Ops.emplace_back();
      op.Kind = okImage;
      op.X = left + x;
      op.Y = top;
      op.Width = size.Width;
      op.Height = size.Height;
      op.Image = int(result_.Images.size());
      result_.Images.push_back(std::move(image));
      HitTest(st, left + x, top, size);
    }
    x += size.Width;
    line.Content = true;
    line.Height = std::max(line.Height, size.Height);
    if (wrap.data() != nullptr) line.Height = GhHeight(st.Font);
    return true;
  }

  void Bullet(const THtmlToken& t, const TState& st, bool draw, int left, int top, int& x, TLine& line) {
    const int level = std::max(1, st.ListLevel);
    x += kBulletIndent * level - kBulletIndent;
    line.Width = std::max(line.Width, x + kBulletIndent);
    const auto [typeText, colorText, name] = Attributes(t, kItemAttributes);
    const std::string type = UpperText(typeText);
    const TColor color = colorText.empty() ? kHtmlNoColor : AttributeColor(colorText);
    if (draw && !st.Hidden) {
      if (type == "SQUARE" || type == "CIRCLE") {
        TMiniHtmlOp& op = result_.Ops.emplace_back();
        op.Kind = type == "SQUARE" ? okSquare : okCircle;
        op.X = left + x;
        op.Y = top + 2;
        op.Width = op.Height = 8;
        op.Color = color == kHtmlNoColor ? st.Font.Color : color;
      } else if (type == "IMAGE") {
        TMiniHtmlImage image;
        image.Source.assign(name);
        THtmlSize size;
        if (measurer_.ImageSize(image, size)) {
          TMiniHtmlOp& op = result_.Ops.emplace_back();
          op.Kind = okImage;
          op.X = left + x;
          op.Y = top + 2;
          op.Width = size.Width;
          op.Height = size.Height;
          op.Image = int(result_.Images.size());
          result_.Images.push_back(std::move(image));
          if (size.Width > kBulletIndent) x += size.Width - kBulletIndent;
        }
      } else {
        TMiniHtmlFont symbol = st.Font;
        symbol.Name = "Symbol";
        if (color != kHtmlNoColor) symbol.Color = color;
        AddText(std::string(1, level % 2 ? '\xB7' : 'o'), symbol, kHtmlNoColor, left + x, top);
      }
    }
    x += kBulletIndent;
  }

  const TMiniHtmlParams& params_;
  TMiniHtmlMeasurer& measurer_;
  std::vector<THtmlToken> tokens_;
  std::vector<bool> continues_;
  struct TMemo {
    size_t Token;
    const void* Names;
    std::array<std::string_view, kMostAttributes> Values;
  };
  std::array<TMemo, 16> memo_;  // of the line being laid out
  size_t memoSize_ = 0, memoNext_ = 0;
  struct TRunSize {
    size_t Token;
    int Width, Height;
  };
  std::array<TRunSize, 128> sizes_;  // of the runs of the line being laid out
  size_t sizeCount_ = 0, sizeNext_ = 0;
  TMiniHtmlLayout result_;
};

}  // namespace

TMiniHtmlLayout LayoutMiniHtml(std::string_view text, const TMiniHtmlParams& params, TMiniHtmlMeasurer& measurer) {
  return TLayout(text, params, measurer).Run();
}
