// Port: the platform's XML reader.
#pragma once

#include <optional>
#include <string>
#include <vector>

class XmlReader {
 public:
  virtual ~XmlReader() = default;
  // The text of the element reached from the document's root element, whatever its name,
  // through `path`: each name is looked up among the children of the element before it,
  // and the first child of that name is taken. nullopt when the document is not
  // well-formed XML or has no such element.
  virtual std::optional<std::string> ElementText(const std::string& document,
                                                 const std::vector<std::string>& path) = 0;
};
