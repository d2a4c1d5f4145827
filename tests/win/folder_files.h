// The system's files with a folder of the test's choosing in place of the executable's,
// so that a store writes its file where the test looks.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "platform/win_ports.h"

class FolderFiles : public Files {
 public:
  explicit FolderFiles(std::string dir) : dir_(std::move(dir)) {}
  std::string ExeDir() override { return dir_; }
  std::string ExePath() override { return system_->ExePath(); }
  bool Exists(const std::string& path) override { return system_->Exists(path); }
  bool Remove(const std::string& path) override { return system_->Remove(path); }
  bool Append(const std::string& path, const std::string& text, std::string& error) override {
    return system_->Append(path, text, error);
  }
  bool ReadPieces(const std::string& path, const Piece& piece, std::string& error) override {
    return system_->ReadPieces(path, piece, error);
  }
  bool ReplaceWhole(const std::string& path, const std::string& text, std::string& error) override {
    return system_->ReplaceWhole(path, text, error);
  }

 private:
  std::string dir_;
  std::unique_ptr<Files> system_ = MakeWinFiles();
};
