#include "country/text_helpers.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "table/ascii_case.h"

namespace kartex {

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr size_t kRestLength = 255;  // NextToken looks this far ahead

}  // namespace

bool TextFile::Open(const std::string& name) {
  Close();
  if (!file_.Open(name)) return false;
  name_ = name;
  return true;
}

void TextFile::Close() {
  file_.Close();
  buffer_.clear();
  start_ = 0;
  offset_ = 0;
  eof_ = false;
}

// Appends the next chunk of the file to the buffer; false at the end.
bool TextFile::Fill() {
  if (eof_ || !file_.IsOpen()) return false;
  size_t old = buffer_.size();
  buffer_.resize(old + kChunk);
  const std::optional<size_t> got = file_.ReadAt(offset_, buffer_.data() + old, kChunk);
  if (!got) {
    buffer_.resize(old);
    throw ReferenceFileError("Cannot read file " + name_);
  }
  buffer_.resize(old + *got);
  offset_ += *got;
  if (*got == 0) {
    eof_ = true;
    return false;
  }
  return true;
}

bool TextFile::ReadLine(std::string& line) {
  if (!file_.IsOpen()) return false;
  size_t searched = start_;  // bytes before this are known to hold no LF
  for (;;) {
    const char* begin = buffer_.data() + searched;
    const void* lf = std::memchr(begin, '\n', buffer_.size() - searched);
    if (lf != nullptr) {
      size_t end = static_cast<size_t>(static_cast<const char*>(lf) - buffer_.data());
      size_t lineEnd = end;
      if (lineEnd > start_ && buffer_[lineEnd - 1] == '\r') --lineEnd;
      line.assign(buffer_, start_, lineEnd - start_);
      start_ = end + 1;
      return true;
    }
    // No line end yet: drop what was handed out and read on.
    if (start_ > 0) {
      buffer_.erase(0, start_);
      start_ = 0;
    }
    searched = buffer_.size();
    if (!Fill()) break;
  }
  if (start_ >= buffer_.size()) return false;
  size_t lineEnd = buffer_.size();
  if (buffer_[lineEnd - 1] == '\r') --lineEnd;
  line.assign(buffer_, start_, lineEnd - start_);
  start_ = buffer_.size();
  return true;
}

bool OpenTextFile(TextFile& file, const std::string& name) { return file.Open(name.substr(0, 30)); }

void TrimEnd(std::string& text) {
  size_t end = text.find_last_not_of(' ');
  text.resize(end == std::string::npos ? 0 : end + 1);
  if (!text.empty() && (text.back() == ':' || text.back() == ';')) text.pop_back();
}

std::string UpperTrimmed(std::string text) {
  TrimEnd(text);
  MakeAsciiUpper(text);
  return text;
}

void NextToken(const std::string& line, int& pos, std::string& token, bool& atEnd) {
  const long long length = static_cast<long long>(line.size());
  atEnd = false;
  if (pos < 1) pos = 1;
  while (pos < length && line[static_cast<size_t>(pos - 1)] == ' ') ++pos;

  const size_t from = static_cast<size_t>(pos - 1);
  const size_t restLength = from < line.size() ? std::min(kRestLength, line.size() - from) : 0;
  const std::string_view rest =
      std::string_view(line).substr(std::min(from, line.size()), restLength);

  // Positions from 1 in rest, minus one: the length of the token.
  auto lengthBefore = [&rest](char c) -> long long {
    size_t at = rest.find(c);
    return at == std::string_view::npos ? -1 : static_cast<long long>(at);
  };
  long long k = lengthBefore(',');
  if (k <= 0) k = lengthBefore(' ');
  if (k <= 0) k = static_cast<long long>(rest.size());

  token.assign(rest.substr(0, static_cast<size_t>(k)));
  pos += static_cast<int>(token.size()) + 1;
  TrimEnd(token);
  if (pos >= length) atEnd = true;
}

void RemoveBracketed(std::string& text) {
  auto removeFirst = [&text](char open, char close) {
    size_t first = text.find(open);
    size_t last = text.find(close);
    if (first == std::string::npos || last == std::string::npos || last < first) return;
    text.erase(first, last - first + 1);
  };
  removeFirst('(', ')');
  removeFirst('[', ']');
}

std::string NumberText(std::string text) {
  if (text.size() == 1) return "00" + text;
  if (text.size() == 2) return "0" + text;
  return text;
}

void CutTo(std::string& text, size_t capacity) {
  if (text.size() > capacity) text.resize(capacity);
}

}  // namespace kartex
