// Reading a study file (JSON, Qt's own reader): every error names the file,
// the line and the field, and nothing of a bad file is kept.
#pragma once

#include <QByteArray>

#include "study/study.h"

// Reads and checks the study at `path`. False, with `error` filled, when
// the file cannot be read, does not parse, or breaks a rule: an unknown
// key, a wrong type, a menu beyond the tree's limits, a condition naming a
// menu that does not exist, zero trials, a seed out of range.
bool mReadStudy(const std::string& path, Study* study, StudyError* error);
// The same on bytes already read; `name` stands for the file in errors.
bool mParseStudy(const QByteArray& text, const std::string& name, Study* study,
                 StudyError* error);
// Reads a menu file: a study file, or one that holds only its `menus` (and
// may leave out the conditions; whatever it gives is checked as a study
// file's). Its first menu is the file's menu, its design's seed the seed
// of that menu's generated labels.
bool mReadMenuFile(const std::string& path, Study* study, StudyError* error);
