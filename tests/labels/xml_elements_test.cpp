// The XML that template files are written in: what the element reader
// passes over, what it decodes, and that a broken or cut document ends in
// an error, never in a read past its end.

#include <gtest/gtest.h>

#include "labels/xml_elements.h"

namespace kartex {
namespace {

// Every event as "+name(depth)[a=v,...]" or "-name(depth)", then "done" or
// "error".
std::string Events(std::string_view xml) {
  XmlElementReader reader(xml);
  std::string out;
  while (true) {
    const XmlElementReader::Event event = reader.Next();
    if (event == XmlElementReader::Event::Done) return out + "done";
    if (event == XmlElementReader::Event::Error) return out + "error";
    out += event == XmlElementReader::Event::Start ? "+" : "-";
    out += reader.Name() + "(" + std::to_string(reader.Depth()) + ")";
    if (event == XmlElementReader::Event::Start && !reader.Attributes().empty()) {
      out += "[";
      for (const XmlAttribute& attribute : reader.Attributes())
        out += attribute.name + "=" + attribute.value + ";";
      out += "]";
    }
    out += " ";
  }
}

TEST(XmlElementsTest, ElementsAttributesAndDepths) {
  EXPECT_EQ(Events("<?xml version=\"1.0\"?>\n<a x='1'>\n  <b y = \"2\" z='3'/>\n  text\n</a>\n"),
            "+a(0)[x=1;] +b(1)[y=2;z=3;] -b(1) -a(0) done");
}

TEST(XmlElementsTest, PassesOverCommentsDoctypeAndCdata) {
  EXPECT_EQ(Events("<!DOCTYPE t [ <!ENTITY % e \"<b>\"> ]>\n"
                   "<!-- <x> -->\n<t><![CDATA[ <y/> ]]><?pi <z/> ?><u/></t>"),
            "+t(0) +u(1) -u(1) -t(0) done");
}

TEST(XmlElementsTest, DecodesReferencesInValues) {
  EXPECT_EQ(Events("<a v=\"&lt;&amp;&gt;&quot;&apos;&#65;&#x142;&bogus;&#xD800;&\"/>"),
            "+a(0)[v=<&>\"'A\xC5\x82&bogus;&#xD800;&;] -a(0) done");
}

TEST(XmlElementsTest, BrokenDocumentsEndInAnError) {
  for (const char* broken :
       {"<a>", "<a></b>", "</a>", "<a x=1/>", "<a x/>", "<a x=\"1/>", "<!-- open", "<a", "<?xml",
        "<![CDATA[", "<!DOCTYPE [", "<>", "<a></a x>"}) {
    EXPECT_EQ(Events(broken).substr(Events(broken).rfind(' ') + 1), "error") << broken;
  }
  // After an error the reader stays there.
  XmlElementReader reader("<a></b><c/>");
  ASSERT_EQ(reader.Next(), XmlElementReader::Event::Start);
  EXPECT_EQ(reader.Next(), XmlElementReader::Event::Error);
  EXPECT_FALSE(reader.Error().empty());
  EXPECT_EQ(reader.Next(), XmlElementReader::Event::Error);
}

TEST(XmlElementsTest, EveryCutOfADocumentEnds) {
  // Each prefix lies in its own buffer, so that a read past its end is a
  // fault the address sanitizer sees.
  const std::string xml =
      "<?xml version=\"1.0\"?><!DOCTYPE g [<!ENTITY x \"y\">]><g><!-- c --><T a=\"&amp;&#x41;\" "
      "b='2'><L w=\"1mm\"/><![CDATA[z]]></T></g>";
  for (size_t length = 0; length <= xml.size(); ++length) {
    const std::unique_ptr<char[]> cut(new char[length]);
    std::copy(xml.begin(), xml.begin() + static_cast<ptrdiff_t>(length), cut.get());
    const std::string events = Events(std::string_view(cut.get(), length));
    // Once the root has begun, only the whole document is whole.
    if (length > xml.find("<g>") && length < xml.size()) {
      EXPECT_TRUE(events.ends_with("error")) << std::string(cut.get(), length) << ": " << events;
    }
    if (length == xml.size()) {
      EXPECT_TRUE(events.ends_with("-g(0) done")) << events;
    }
  }
}

}  // namespace
}  // namespace kartex
