#include "progress/trial_log.h"

std::string csvField(const std::string& text) {
  // A row starting with '#' would read back as a comment line.
  if (text.find_first_of(",\"\r\n") == std::string::npos &&
      (text.empty() || text[0] != '#'))
    return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string trialCsvLine(const TrialRow& r) {
  auto flag = [](bool b) { return b ? std::string("1") : std::string("0"); };
  std::string line;
  bool first = true;
  for (const std::string& field :
       {csvField(r.participant), csvField(r.study), csvField(r.condition),
        std::to_string(r.block), std::to_string(r.trial), flag(r.practice),
        csvField(r.targetPath), csvField(r.targetLabel), csvField(r.chosenPath),
        csvField(r.chosenLabel), flag(r.hit), flag(r.byMark), flag(r.markAhead),
        std::to_string(r.backUps), std::to_string(r.changes),
        csvField(r.targetShownAt), std::to_string(r.reactionMs),
        std::to_string(r.selectionMs)}) {
    if (!first) line += ',';
    first = false;
    line += field;
  }
  return line + '\n';
}

std::string strokeCsvLine(const StrokeRow& r) {
  return csvField(r.participant) + ',' + csvField(r.condition) + ',' +
         std::to_string(r.block) + ',' + std::to_string(r.trial) + ',' +
         std::to_string(r.tMs) + ',' + std::to_string(r.x) + ',' +
         std::to_string(r.y) + '\n';
}
