#pragma once
// Plain text helpers of the reference file readers: a line reader over a
// text file, the trimming and upper-casing of names, the tokenizer of the
// prefix lines and the number texts. Texts are bytes as stored in the files
// (Windows-1250 or ASCII); a blank is the space character only.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/files.h"

namespace kartex {

// A reference file that could not be read to its end.
class ReferenceFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text file read line by line. A line ends at LF; a CR right before the LF
// (or right before the end of the file) belongs to the line end, not to the
// line. The last line of a file needs no line end. These are the reference
// files' own rules, on purpose not the log reader's (CsvLineReader drops
// every CR and ends at a byte 26): a lone CR stays in a line here.
class TextFile {
 public:
  TextFile() = default;
  ~TextFile() { Close(); }
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Opens the named file for reading; false when it cannot be opened (a
  // folder, a FIFO or a device of that name is not a text file either).
  bool Open(const std::string& name);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }
  const std::string& Name() const { return name_; }

  // The next line without its line end; false at the end of the file.
  // Fails with ReferenceFileError "Cannot read file NAME" on a read error.
  bool ReadLine(std::string& line);

 private:
  bool Fill();

  platform::InputFile file_;
  std::string name_;
  uint64_t offset_ = 0;  // where the next chunk is read from
  std::string buffer_;
  size_t start_ = 0;  // first unread byte of buffer_
  bool eof_ = false;
};

// Opens the text file of that name for reading, using at most the first 30
// characters of the name. True when the file is open; never raises an error.
bool OpenTextFile(TextFile& file, const std::string& name);

// Removes all blanks at the end, then one closing ":" or ";" if there is one.
void TrimEnd(std::string& text);

// A copy of text after TrimEnd with a-z upper-cased; every other byte
// (accented letters included) stays as it is.
std::string UpperTrimmed(std::string text);

// Reads the next token of line from pos (counted from 1, changed in place):
// blanks before it are skipped, the token runs to the first comma of the
// next 255 characters (or, when there is none or the comma comes first, to
// the first blank, or else over all of them), pos steps over the token and
// one character after it, and the token gets TrimEnd. atEnd is set when pos
// reaches the last character of the line or beyond.
void NextToken(const std::string& line, int& pos, std::string& token, bool& atEnd);

// Deletes the part from the first "(" to the first ")", then the part from
// the first "[" to the first "]", where the closing one follows the opening.
void RemoveBracketed(std::string& text);

// A number text: one character gets "00" in front, two characters get "0";
// longer (and empty) texts stay as they are. No check for digits is made.
std::string NumberText(std::string text);

// Keeps the first capacity characters of text.
void CutTo(std::string& text, size_t capacity);

}  // namespace kartex
