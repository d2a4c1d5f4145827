// Texts for RAS connection states in the three languages of the status line.
#include "dialup/status_text.h"

namespace {

struct StateRow {
  int state;
  const char* english;
  const char* czech;       // code page 1250
  const char* portuguese;  // code page 1252
};

// Kept in the code pages their readers' systems display, so the accented letters are
// written as bytes; the readable text stands above each such row.
constexpr StateRow kStateRows[] = {
    // Otevírá se port
    {0, "Opening port", "Otev\355r\341 se port", "Abrindo a porta"},
    // Port otevřen
    {1, "Port opened", "Port otev\370en", "Porta aberta"},
    // Probíhá spojování
    {2, "Connecting device", "Prob\355h\341 spojov\341n\355", "Conectando componente"},
    // Navázáno spojení
    {3, "Device connected", "Nav\341z\341no spojen\355", "Componente conenctado"},
    // Všechna zařízení spojena
    {4, "All devices connected", "V\232echna za\370\355zen\355 spojena",
     "Todos componentes conectados"},
    // Začínají se ověřovat uživatelské informace / Iniciando autenticaçao
    {5, "Start authenticating", "Za\350\355naj\355 se ov\354\370ovat u\236ivatelsk\351 informace",
     "Iniciando autentica\347ao"},
    // Ověření: oznámení / Autenticaçao: enviando
    {6, "Authentication: notify", "Ov\354\370en\355: ozn\341men\355", "Autentica\347ao: enviando"},
    // Ověření: opakování / Autenticaçao: Reenviando
    {7, "Authentication: retry", "Ov\354\370en\355: opakov\341n\355",
     "Autentica\347ao: Reenviando"},
    // Ověření: zpětné volání / Autenticaçao: Esperando
    {8, "Authentication: callback", "Ov\354\370en\355: zp\354tn\351 vol\341n\355",
     "Autentica\347ao: Esperando"},
    // Ověření: změna hesla / Autenticaçao: Senha incorreta
    {9, "Authentication: change password", "Ov\354\370en\355: zm\354na hesla",
     "Autentica\347ao: Senha incorreta"},
    // Ověření: návrh / Autenticaçao: enviando
    {10, "Authentication: projecting", "Ov\354\370en\355: n\341vrh", "Autentica\347ao: enviando"},
    // Ověření: spojovací rychlost / Autenticaçao: Velocidade da linha
    {11, "Authentication: link speed", "Ov\354\370en\355: spojovac\355 rychlost",
     "Autentica\347ao: Velocidade da linha"},
    // Ověření: potvrzení / Autenticaçao: enviando
    {12, "Authentication: acknowledge", "Ov\354\370en\355: potvrzen\355",
     "Autentica\347ao: enviando"},
    // Ověření: znovuověření / Autenticaçao: Re-Autenticando
    {13, "Authentication: reauthenticate", "Ov\354\370en\355: znovuov\354\370en\355",
     "Autentica\347ao: Re-Autenticando"},
    // Ověřeno
    {14, "Authenticated", "Ov\354\370eno", "Autenticado"},
    // Příprava na zpetné volání
    {15, "Preparing for callback", "P\370\355prava na zpetn\351 vol\341n\355",
     "Preparando para callback"},
    // Čeká se na reset modemu
    {16, "Waiting for modem reset", "\310ek\341 se na reset modemu", "Esperando Reset do modem"},
    // Čeká se na zpětné volání
    {17, "Waiting for callback", "\310ek\341 se na zp\354tn\351 vol\341n\355",
     "Esperando callback"},
    {18, "Projected", "Navrhnuto", "Enviando"},
    // Ověřování uživatelských informací / Autenticaçao iniciada
    {19, "Start authentication", "Ov\354\370ov\341n\355 u\236ivatelsk\375ch informac\355",
     "Autentica\347ao iniciada"},
    // Zpetné volání hotovo
    {20, "Callback complete", "Zpetn\351 vol\341n\355 hotovo", "Callback completo"},
    // Připojuje se na síť
    {21, "Logging on network", "P\370ipojuje se na s\355\235", "Logando na rede"},
    {4096, "Interactive", "Interakce", "Modo Interativo"},
    // Opakování oveření
    {4097, "Retry Authentication", "Opakov\341n\355 ove\370en\355", "Re-autenticar"},
    // Zpeětné volání zvoleno uživatelem
    {4098, "Callback set by caller", "Zpe\354tn\351 vol\341n\355 zvoleno u\236ivatelem",
     "Callback foi conf. pelo destino"},
    // Platnost hesla vypršela / Senha inválida
    {4099, "Password expired", "Platnost hesla vypr\232ela", "Senha inv\341lida"},
    {8192, "Connected", "Spojeno", "Conectado"},
    {8193, "Disconnected", "Rozpojeno", "Desconectado"},
};

const char* RowText(const StateRow& row, TLanguage language) {
  switch (language) {
    case Czech:
      return row.czech;
    case Portuguese:
      return row.portuguese;
    default:
      return row.english;
  }
}

}  // namespace

std::string StateText(TLanguage language, int state) {
  for (const StateRow& row : kStateRows) {
    if (row.state == state) {
      return RowText(row, language);
    }
  }
  return "";
}
