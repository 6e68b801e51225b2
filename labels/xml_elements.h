#pragma once
// The elements of an XML document, one after the other, with their
// attributes: all that label sheet templates need of XML. Text, comments,
// processing instructions, CDATA sections and the document type are passed
// over. The reader never reads past the end of the text: a document cut
// short or malformed ends in Event::Error.

#include <string>
#include <string_view>
#include <vector>

namespace kartex {

struct XmlAttribute {
  std::string name;
  std::string value;  // the five named entities and character references decoded
};

class XmlElementReader {
 public:
  enum class Event { Start, End, Done, Error };

  explicit XmlElementReader(std::string_view text) : text_(text) {}

  // The next start or end of an element. An empty element (<a/>) gives a
  // Start and an End.
  Event Next();

  // The element of the last Start or End.
  const std::string& Name() const { return name_; }
  // Its attributes (of a Start).
  const std::vector<XmlAttribute>& Attributes() const { return attributes_; }
  // The value of an attribute, or nullptr.
  const std::string* Attribute(std::string_view name) const;
  // Elements open around the last Start (0 for the root), or around the
  // element the last End closed.
  int Depth() const { return static_cast<int>(open_.size()) - (lastWasStart_ ? 1 : 0); }
  // What was wrong, after Event::Error.
  const std::string& Error() const { return error_; }

 private:
  Event Fail(std::string what);
  bool SkipPast(std::string_view end);
  bool SkipDoctype();
  Event ReadStartTag();
  Event ReadEndTag();
  bool ReadName(std::string& name);
  bool ReadAttributeValue(std::string& value);
  void SkipBlanks();

  std::string_view text_;
  size_t at_ = 0;
  std::string name_;
  std::vector<XmlAttribute> attributes_;
  std::vector<std::string> open_;
  bool pendingEnd_ = false;  // an empty element's End comes next
  bool lastWasStart_ = false;
  bool failed_ = false;
  std::string error_;
};

// Decodes &lt; &gt; &amp; &quot; &apos; and &#N; &#xH; (as UTF-8); an
// unknown or unfinished reference stays as it is written.
std::string DecodeXmlText(std::string_view text);

}  // namespace kartex
