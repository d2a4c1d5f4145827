// The help entry points: the about box, the user manual beside the program, the maker's
// home page and mail address, and the help button's menu.
#pragma once

#include <string>
#include <utility>

#include "platform/files.h"
#include "platform/prompts.h"
#include "platform/shell.h"

// What the help commands ask of the main window.
class HelpView {
 public:
  virtual ~HelpView() = default;
  // Shows the about box modally until it is clicked or dismissed.
  virtual void ShowAbout() = 0;
  // Opens the help menu HelpPop under the help button.
  virtual void ShowHelpPopup() = 0;
  // The main window's handle, as the shell's owner window.
  virtual void* Handle() = 0;
};

inline constexpr const char* kManualFile = "manual.htm";
inline constexpr const char* kManualMissing = "User manual missing,please reinstall.";

class Help {
 public:
  Help(Files& files, Shell& shell, Prompts& prompts, HelpView& view, std::string home_page,
       std::string mail)
      : files_(files),
        shell_(shell),
        prompts_(prompts),
        view_(view),
        home_page_(std::move(home_page)),
        mail_(std::move(mail)) {}

  void About1Click() { view_.ShowAbout(); }
  void BtnHelpClick() { view_.ShowHelpPopup(); }
  // Opens "manual.htm" beside the program, or warns that it is missing.
  void Context1Click();
  void Homepage1Click();
  void MailtoAuthor1Click();

 private:
  Files& files_;
  Shell& shell_;
  Prompts& prompts_;
  HelpView& view_;
  const std::string home_page_;
  const std::string mail_;
};

// The text the home-page link shows for an address: without its scheme and final "/".
std::string LinkCaption(const std::string& address);
