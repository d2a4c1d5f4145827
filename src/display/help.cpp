// The help entry points.
#include "display/help.h"

void Help::Context1Click() {
  const std::string manual = files_.ExeDir() + kManualFile;
  if (files_.Exists(manual)) {
    shell_.Open(manual, view_.Handle());
  } else {
    prompts_.Warning(kManualMissing);
  }
}

// Shell failures are not reported: the user sees that no browser or mail program came.
void Help::Homepage1Click() {
  shell_.Open(home_page_, view_.Handle());
}

void Help::MailtoAuthor1Click() {
  shell_.Open("mailto:" + mail_, view_.Handle());
}

std::string LinkCaption(const std::string& address) {
  std::string caption = address;
  if (const auto scheme = caption.find("://"); scheme != std::string::npos)
    caption.erase(0, scheme + 3);
  if (!caption.empty() && caption.back() == '/')
    caption.pop_back();
  return caption;
}
