#include "xml_elements.h"

#include <charconv>

#include "platform/code_page.h"

namespace kartex {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool EndsName(char c) { return IsBlank(c) || c == '/' || c == '>' || c == '=' || c == '<'; }

// One reference at the start of text ("&amp;" ...): its text and length, or
// a length of 0 when it is none.
std::pair<std::string, size_t> Reference(std::string_view text) {
  const size_t end = text.find(';');
  if (end == std::string_view::npos || end > 12) return {{}, 0};
  const std::string_view name = text.substr(1, end - 1);
  static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
      {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}};
  for (const auto& [entity, replacement] : kNamed) {
    if (name == entity) return {std::string(replacement), end + 1};
  }
  if (name.size() < 2 || name[0] != '#') return {{}, 0};
  const bool hex = name[1] == 'x' || name[1] == 'X';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  uint32_t code = 0;
  const auto [stop, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
  if (digits.empty() || error != std::errc() || stop != digits.data() + digits.size() ||
      code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return {{}, 0};
  std::string utf8;
  AppendUtf8(utf8, static_cast<char32_t>(code));
  return {utf8, end + 1};
}

}  // namespace

std::string DecodeXmlText(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text[i] == '&') {
      const auto [replacement, length] = Reference(text.substr(i));
      if (length > 0) {
        decoded += replacement;
        i += length;
        continue;
      }
    }
    decoded += text[i++];
  }
  return decoded;
}

const std::string* XmlElementReader::Attribute(std::string_view name) const {
  for (const XmlAttribute& attribute : attributes_) {
    if (attribute.name == name) return &attribute.value;
  }
  return nullptr;
}

XmlElementReader::Event XmlElementReader::Fail(std::string what) {
  failed_ = true;
  error_ = std::move(what) + " (byte " + std::to_string(at_) + ")";
  return Event::Error;
}

XmlElementReader::Event XmlElementReader::Next() {
  if (failed_) return Event::Error;
  if (pendingEnd_) {
    pendingEnd_ = false;
    lastWasStart_ = false;
    attributes_.clear();
    open_.pop_back();
    return Event::End;
  }
  while (true) {
    const size_t open = text_.find('<', at_);
    if (open == std::string_view::npos) {
      at_ = text_.size();
      if (!open_.empty()) return Fail("the document ends inside <" + open_.back() + ">");
      return Event::Done;
    }
    at_ = open;
    const std::string_view rest = text_.substr(at_);
    if (rest.starts_with("<?")) {
      if (!SkipPast("?>")) return Fail("an unfinished processing instruction");
    } else if (rest.starts_with("<!--")) {
      if (!SkipPast("-->")) return Fail("an unfinished comment");
    } else if (rest.starts_with("<![CDATA[")) {
      if (!SkipPast("]]>")) return Fail("an unfinished CDATA section");
    } else if (rest.starts_with("<!")) {
      if (!SkipDoctype()) return Fail("an unfinished document type");
    } else if (rest.starts_with("</")) {
      return ReadEndTag();
    } else {
      return ReadStartTag();
    }
  }
}

bool XmlElementReader::SkipPast(std::string_view end) {
  const size_t found = text_.find(end, at_);
  if (found == std::string_view::npos) {
    at_ = text_.size();
    return false;
  }
  at_ = found + end.size();
  return true;
}

// <!DOCTYPE name [ internal subset ]>: brackets and quoted texts may hold ">".
bool XmlElementReader::SkipDoctype() {
  int brackets = 0;
  char quote = 0;
  for (++at_; at_ < text_.size(); ++at_) {
    const char c = text_[at_];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[') {
      ++brackets;
    } else if (c == ']') {
      --brackets;
    } else if (c == '>' && brackets <= 0) {
      ++at_;
      return true;
    }
  }
  return false;
}

void XmlElementReader::SkipBlanks() {
  while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
}

bool XmlElementReader::ReadName(std::string& name) {
  const size_t start = at_;
  while (at_ < text_.size() && !EndsName(text_[at_])) ++at_;
  name.assign(text_.substr(start, at_ - start));
  return !name.empty();
}

bool XmlElementReader::ReadAttributeValue(std::string& value) {
  if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) return false;
  const char quote = text_[at_++];
  const size_t end = text_.find(quote, at_);
  if (end == std::string_view::npos) return false;
  value = DecodeXmlText(text_.substr(at_, end - at_));
  at_ = end + 1;
  return true;
}

XmlElementReader::Event XmlElementReader::ReadStartTag() {
  ++at_;  // "<"
  attributes_.clear();
  if (!ReadName(name_)) return Fail("a tag without a name");
  while (true) {
    SkipBlanks();
    if (at_ >= text_.size()) return Fail("the document ends inside <" + name_ + ">");
    if (text_.substr(at_).starts_with("/>")) {
      at_ += 2;
      pendingEnd_ = true;
      break;
    }
    if (text_[at_] == '>') {
      ++at_;
      break;
    }
    XmlAttribute attribute;
    if (!ReadName(attribute.name)) return Fail("a broken attribute in <" + name_ + ">");
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != '=')
      return Fail("an attribute without a value in <" + name_ + ">");
    ++at_;
    SkipBlanks();
    if (!ReadAttributeValue(attribute.value))
      return Fail("an attribute value not in quotes in <" + name_ + ">");
    attributes_.push_back(std::move(attribute));
  }
  open_.push_back(name_);
  lastWasStart_ = true;
  return Event::Start;
}

XmlElementReader::Event XmlElementReader::ReadEndTag() {
  at_ += 2;  // "</"
  std::string name;
  if (!ReadName(name)) return Fail("an end tag without a name");
  SkipBlanks();
  if (at_ >= text_.size() || text_[at_] != '>') return Fail("a broken end tag </" + name + ">");
  ++at_;
  if (open_.empty() || open_.back() != name) return Fail("</" + name + "> closes no open element");
  open_.pop_back();
  name_ = std::move(name);
  attributes_.clear();
  lastWasStart_ = false;
  return Event::End;
}

}  // namespace kartex
