// State texts in the three languages, byte for byte in their code pages.
#include "dialup/status_text.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace {

// The UTF-8 text in the given code page, as the system's converter makes it.
std::string Encode(const std::string& utf8, const char* code_page) {
  iconv_t converter = iconv_open(code_page, "UTF-8");
  EXPECT_NE(reinterpret_cast<iconv_t>(-1), converter);
  std::string in = utf8;
  std::string out(in.size(), '\0');
  char* in_next = in.data();
  char* out_next = out.data();
  size_t in_left = in.size();
  size_t out_left = out.size();
  EXPECT_NE(static_cast<size_t>(-1), iconv(converter, &in_next, &in_left, &out_next, &out_left));
  iconv_close(converter);
  out.resize(out.size() - out_left);
  return out;
}

TEST(StatusText, EnglishRows) {
  EXPECT_EQ("Opening port", StateText(English, 0));
  EXPECT_EQ("Authentication: notify", StateText(English, 6));
  EXPECT_EQ("Logging on network", StateText(English, 21));
  EXPECT_EQ("Interactive", StateText(English, 4096));
  EXPECT_EQ("Password expired", StateText(English, 4099));
  EXPECT_EQ("Connected", StateText(English, 8192));
  EXPECT_EQ("Disconnected", StateText(English, 8193));
  // A language the program does not know reads English.
  EXPECT_EQ("Connected", StateText(static_cast<TLanguage>(7), 8192));
}

TEST(StatusText, CzechRowsInCodePage1250) {
  EXPECT_EQ(
      "Ov\xec\xf8"
      "eno",
      StateText(Czech, 14));
  EXPECT_EQ(Encode("Ověřeno", "CP1250"), StateText(Czech, 14));
  EXPECT_EQ(Encode("Otevírá se port", "CP1250"), StateText(Czech, 0));
  // š and ť sit elsewhere in code page 1250 than in ISO 8859-2.
  EXPECT_EQ(Encode("Všechna zařízení spojena", "CP1250"), StateText(Czech, 4));
  EXPECT_EQ(Encode("Připojuje se na síť", "CP1250"), StateText(Czech, 21));
  EXPECT_EQ(Encode("Začínají se ověřovat uživatelské informace", "CP1250"), StateText(Czech, 5));
  EXPECT_EQ(Encode("Zpeětné volání zvoleno uživatelem", "CP1250"), StateText(Czech, 4098));
  EXPECT_EQ("Spojeno", StateText(Czech, 8192));
}

TEST(StatusText, PortugueseRowsInCodePage1252) {
  const std::string sending =
      "Autentica\xe7"
      "ao: enviando";
  EXPECT_EQ(Encode("Autenticaçao: enviando", "CP1252"), sending);
  EXPECT_EQ(sending, StateText(Portuguese, 6));
  EXPECT_EQ(sending, StateText(Portuguese, 10));
  EXPECT_EQ(sending, StateText(Portuguese, 12));
  EXPECT_EQ(Encode("Senha inválida", "CP1252"), StateText(Portuguese, 4099));
  EXPECT_EQ("Componente conenctado", StateText(Portuguese, 3));
  EXPECT_EQ("Conectado", StateText(Portuguese, 8192));
}

TEST(StatusText, StatesWithoutTextAreEmpty) {
  for (int state : {-1, 22, 30, 4095, 4100, 8191, 8194}) {
    for (TLanguage language : {English, Czech, Portuguese}) {
      EXPECT_EQ("", StateText(language, state)) << state << " in language " << language;
    }
  }
}

}  // namespace
