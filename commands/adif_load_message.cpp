#include "adif_load_message.h"

#include <vector>

#include "table/adif_parser.h"

namespace kartex {

std::string AdifLoadMessage(const AdifReadReport& report) {
  std::vector<std::string> parts;
  if (report.recoveredValues > 0) {
    parts.push_back(
        "wartości pól odczytane mimo błędów zapisu (długość, tekst po wartości, "
        "znaki sterujące): " +
        std::to_string(report.recoveredValues));
  }
  if (report.replacedCharacters > 0) {
    parts.push_back("znaki spoza strony kodowej Windows-1250 zastąpione znakiem „?”: " +
                    std::to_string(report.replacedCharacters));
  }
  if (report.fieldsLeftOut > 0) {
    parts.push_back("pominięte pola o nazwach ponad " + std::to_string(AdifParser::kMaxColumns) +
                    " pierwszych: " + std::to_string(report.fieldsLeftOut));
  }
  if (report.incompleteRecordLeftOut) {
    parts.push_back("pominięto niepełny rekord na końcu pliku (bez <EOR>)");
  }
  if (parts.empty()) return {};
  std::string message = "Dziennik ADIF wczytano z poprawkami: ";
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) message += "; ";
    message += parts[k];
  }
  return message + ".";
}

}  // namespace kartex
