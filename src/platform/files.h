// Port: the files beside the executable, or in a portable copy's data folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

class Files {
 public:
  virtual ~Files() = default;
  // The running executable's folder, with a trailing separator.
  virtual std::string ExeDir() = 0;
  // The running executable's full path.
  virtual std::string ExePath() = 0;
  // The folder of the data files, with a trailing separator: ExeDir unless a portable
  // copy names another.
  std::string DataDir() { return data_dir_.empty() ? ExeDir() : data_dir_; }
  // A portable copy keeps its settings in portable.ini beside the executable and writes
  // nothing to the registry that no option asks for. An empty `data_dir` keeps ExeDir.
  void SetPortable(const std::string& data_dir) {
    portable_ = true;
    data_dir_ = data_dir;
  }
  bool Portable() const { return portable_; }
  virtual bool Exists(const std::string& path) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Appends text to the file, creating it when missing, on a line of its own: a file that
  // does not end with a line end (a line torn by a power cut) gets CR LF first. The text is
  // on the disk and the file closed again before this returns. On failure returns false
  // and the system's reason in `error`.
  virtual bool Append(const std::string& path, const std::string& text, std::string& error) = 0;
  using Piece = std::function<void(std::string_view)>;
  // Hands the file's content to `piece` a piece at a time, in order, so that a file of any
  // size is read in little memory. On failure returns false with the system's reason in
  // `error`, except for a file that does not exist: then `error` is left empty.
  virtual bool ReadPieces(const std::string& path, const Piece& piece, std::string& error) = 0;
  // Reads the whole file into `text`; fails as ReadPieces does.
  bool ReadAll(const std::string& path, std::string& text, std::string& error);
  // True when the file exists but cannot be read (another program holds it, or access is
  // denied), with the system's reason in `error`. The profile functions read such a file
  // as an empty one, which must not pass for a file without entries.
  bool Unreadable(const std::string& path, std::string& error);
  // Writes `text` as the file's whole content, creating it when missing. A crash or a
  // full disk leaves either the old content or the new, never a mix: the text goes to a
  // new file beside it, which then takes the old one's place. On failure returns false
  // with the system's reason in `error`, and the old content stays.
  virtual bool ReplaceWhole(const std::string& path, const std::string& text,
                            std::string& error) = 0;

 private:
  std::string data_dir_;
  bool portable_ = false;
};
