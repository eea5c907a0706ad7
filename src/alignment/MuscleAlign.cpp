// SPDX-License-Identifier: GPL-3.0-or-later
// Windowed MUSCLE alignment. Each window's letters go to the aligner in a private folder; what
// comes back is accepted only when the aligner ended with exit code 0 and returned every
// sequence, under its label, with its letters unchanged apart from gaps.
#include "alignment/MuscleAlign.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <unordered_map>

#include "alignment/ExtProgUnit.h"
#include "io/BinarySource.h"
#include "io/ByteSource.h"
#include "io/IOUnit.h"
#include "model/Datasequnit.h"

namespace {

constexpr int kBackStep = 100;
constexpr int kProbeColumns = 11;  // columns looked at for a conserved stretch
constexpr int kMinVariable = 4;    // ... of which this many must vary
constexpr int kConservedSkip = 10;

int Len(const std::string& s) {
  return static_cast<int>(s.size());
}

std::string BaseName(const std::string& program) {
  const auto slash = program.find_last_of("/\\");
  return slash == std::string::npos ? program : program.substr(slash + 1);
}

// One sequence's share of a window: positions first..last of its letters.
struct WindowPart {
  int row = 0;
  int first = 0, last = 0;  // first > last: the sequence does not reach into the window
  std::string letters;      // without gaps
};

class WindowAligner {
 public:
  WindowAligner(TDataSeq& ds, Services& svc, const MuscleRun& run) : ds_(ds), svc_(svc), run_(run) {
    std::vector<int> rows = run.rows;
    if (rows.empty())
      for (int r = 1; r <= ds.Count(); ++r) rows.push_back(r);
    // A row without letters has nothing to align and no column to keep.
    for (int r : rows)
      if (const TSeq* s = ds.SeqAt(r); s != nullptr && s->CountGaps(1, s->Length()) < s->Length())
        rows_.push_back(r);
  }

  int Run() {
    const int window = EffectiveWindowSize(svc_.settings.alignWindowSize);
    int length = Columns();
    const int windows = std::max(1, length / std::max(1, window - kBackStep) + 1);
    std::unique_ptr<ProgressScope> bar;
    if (run_.showProgress)
      bar = std::make_unique<ProgressScope>(svc_.progress, windows, "Aligning " + ds_.dsName);
    int start = 1;
    while (start < length) {
      if (VariableColumns(start) < kMinVariable) {
        start += kConservedSkip;
        continue;
      }
      if (window < length) start = std::max(start - kBackStep, 1);
      if (svc_.progress.cancelRequested()) {
        if (svc_.messages.AskYesNo("Cancel alignment?")) return kAlignCancelled;
        svc_.progress.ClearCancel();
      }
      const int result = AlignWindow(start, start + window - 1);
      if (result != 0) return result;
      if (bar) bar->Step(true);
      start += window;
      length = Columns();
    }
    return 0;
  }

 private:
  TDataSeq& ds_;
  Services& svc_;
  const MuscleRun& run_;
  std::vector<int> rows_;

  TSeq& Seq(int row) { return *ds_.SeqAt(row); }

  int Columns() {
    int longest = 0;
    for (int r : rows_) longest = std::max(longest, Seq(r).Length() + Seq(r).columnShift);
    return longest;
  }

  // Columns among start..start+10 with more than one letter (gaps and disabled rows aside,
  // case ignored).
  int VariableColumns(int start) {
    int variable = 0;
    for (int c = start; c < start + kProbeColumns; ++c) {
      char seen = 0;
      for (int r : rows_) {
        const TSeq& s = Seq(r);
        const int p = c - s.columnShift;
        if (!s.enabled || p < 1 || p > s.Length()) continue;
        const char letter =
            static_cast<char>(std::toupper(static_cast<unsigned char>(s.letters[p - 1])));
        if (letter == '-') continue;
        if (seen == 0) {
          seen = letter;
        } else if (letter != seen) {
          ++variable;
          break;
        }
      }
    }
    return variable;
  }

  int AlignWindow(int first, int last) {
    std::vector<WindowPart> parts;
    for (int r : rows_) {
      const TSeq& s = Seq(r);
      if (!s.enabled) continue;  // a disabled sequence is never changed
      WindowPart part;
      part.row = r;
      part.first = std::max(1, first - s.columnShift);
      part.last = std::min(s.Length(), last - s.columnShift);
      if (part.first <= part.last)
        part.letters = WithoutGaps(std::string_view(s.letters).substr(
            static_cast<std::size_t>(part.first - 1),
            static_cast<std::size_t>(part.last - part.first + 1)));
      parts.push_back(std::move(part));
    }
    std::vector<const WindowPart*> given;
    for (const WindowPart& p : parts)
      if (!p.letters.empty()) given.push_back(&p);
    if (given.size() < 2) return 0;

    std::vector<std::string> aligned;
    const int result = RunAligner(given, first, aligned);
    if (result != 0) return result;
    const int width = Len(aligned.front());
    const int before = Columns();
    std::size_t k = 0;
    for (const WindowPart& p : parts) {
      TSeq& s = Seq(p.row);
      if (p.first <= p.last) {
        const std::string gapsOnly(p.letters.empty() ? static_cast<std::size_t>(width) : 0, '-');
        Lay(s, p, p.letters.empty() ? std::string_view(gapsOnly) : std::string_view(aligned[k++]),
            first);
      } else if (s.columnShift >= last && s.Length() > 0 && last <= before) {
        // Wholly right of the window: it moves with the columns the window gained or lost.
        s.columnShift += width - (last - first + 1);
      }
    }
    ds_.InvalidateMutHolders();
    return 0;
  }

  // Lays the aligned part into the sequence. A run before a sequence's first letter becomes
  // its shift when the run asks for it; a run after its last letter is kept only with
  // `trailing`. Inside the sequence every run is kept, or the letters after the window would
  // leave their columns.
  void Lay(TSeq& s, const WindowPart& p, std::string_view pattern, int firstColumn) {
    const bool beginsHere = p.first == 1;
    const bool endsHere = p.last == s.Length();
    if (beginsHere) s.columnShift = firstColumn - 1;
    if (beginsHere && run_.applyShift) {
      const std::size_t lead = std::min(pattern.find_first_not_of('-'), pattern.size());
      s.columnShift += static_cast<int>(lead);
      pattern.remove_prefix(lead);
    }
    if (endsHere && !run_.trailing) {
      const std::size_t keep = pattern.find_last_not_of('-');
      pattern = pattern.substr(0, keep == std::string_view::npos ? 0 : keep + 1);
    }
    LayGapRuns(s, p.first, p.last, pattern);
  }

  // Writes the parts, runs the aligner and reads its answer back in the parts' order.
  int RunAligner(const std::vector<const WindowPart*>& parts, int start,
                 std::vector<std::string>& aligned) {
    const std::string& program = run_.aligner.program;
    const std::string name = BaseName(program);
    const auto fail = [&](const std::string& why, const std::string& errors) {
      std::string text = name + " could not align dataset " + ds_.dsName + " at column " +
                         std::to_string(start) + ": " + why;
      if (!errors.empty()) text += "\r\n" + errors;
      svc_.messages.ReportError(text);
      return kAlignFailed;
    };
    WorkFolder work;
    if (!work.Valid()) return fail("no working folder could be made", {});
    const std::string in = work.File("infile.f"), out = work.File("infile.fa");
    {
      // Labels are the parts' numbers: any name a row may carry survives the aligner.
      std::ofstream file(in, std::ios::binary);
      for (std::size_t k = 0; k < parts.size(); ++k)
        file << '>' << k + 1 << '\n' << parts[k]->letters << '\n';
      if (!file) return fail("its input file could not be written", {});
    }
    std::vector<std::string> args{"-align", "infile.f", "-output", "infile.fa"};
    if (run_.aligner.majorVersion < 5)
      args = {"-maxiters", "3", "-diags", "-in", "infile.f", "-out", "infile.fa"};
    TExtProg runner(svc_);
    if (runner.Start(program, args, work.Path()) != 0)
      return fail("it could not be started", runner.ErrorOutput());
    const std::string status = "Aligning " + ds_.dsName + " ";
    const std::string where = " [" + std::to_string(start) + "]";
    if (!runner.Wait([&](char spinner) { return status + spinner + where; }, "Cancel alignment?"))
      return kAlignCancelled;
    if (!runner.Succeeded())
      return fail("it ended with exit code " + std::to_string(runner.ExitCode()),
                  runner.ErrorOutput());

    FileSource source;
    if (!source.Open(out)) return fail("it wrote no output file", runner.ErrorOutput());
    QuietMessages quiet;
    NullProgress still;
    Services readServices{quiet, still, svc_.settings, svc_.genCode};
    TDataSeq answer(readServices);
    ReadContext ctx(readServices, out);
    OpenFasta(source, ctx, answer);

    std::unordered_map<std::string, int> byLabel;
    for (int r = 1; r <= answer.Count(); ++r) {
      const std::string& label = answer.SeqAt(r)->seqName;
      int k = 0;
      const auto [end, ec] = std::from_chars(label.data(), label.data() + label.size(), k);
      if (ec != std::errc() || end != label.data() + label.size()) k = 0;
      if (k < 1 || k > static_cast<int>(parts.size()))
        return fail("it gave back a sequence it was not given (" + label + ")",
                    runner.ErrorOutput());
      if (!byLabel.emplace(label, r).second)
        return fail("it gave back sequence " + ds_.NameAt(parts[k - 1]->row) + " twice",
                    runner.ErrorOutput());
    }
    aligned.clear();
    for (std::size_t k = 0; k < parts.size(); ++k) {
      const std::string seqName = ds_.NameAt(parts[k]->row);
      const auto it = byLabel.find(std::to_string(k + 1));
      if (it == byLabel.end())
        return fail("sequence " + seqName + " did not come back", runner.ErrorOutput());
      std::string letters = answer.SeqAt(it->second)->letters;
      if (!SameIgnoringCase(WithoutGaps(letters), parts[k]->letters))
        return fail("the letters of sequence " + seqName + " came back changed",
                    runner.ErrorOutput());
      if (!aligned.empty() && letters.size() != aligned.front().size())
        return fail("sequence " + seqName + " came back with another length than the others",
                    runner.ErrorOutput());
      aligned.push_back(std::move(letters));
    }
    return 0;
  }
};

}  // namespace

std::string WithoutGaps(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != '-') out.push_back(c);
  return out;
}

bool SameIgnoringCase(std::string_view x, std::string_view y) {
  return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) ==
                  std::toupper(static_cast<unsigned char>(b));
         });
}

void LayGapRuns(TSeq& s, int first, int last, std::string_view pattern) {
  // Removing a leading run would move the shift; the caller has set it for the new letters.
  const int shift = s.columnShift;
  s.RemoveLetterRuns(first, last, false, '-');
  s.columnShift = shift;
  const int width = static_cast<int>(pattern.size());
  for (int i = 1; i <= width;) {
    if (pattern[static_cast<std::size_t>(i - 1)] != '-') {
      ++i;
      continue;
    }
    int e = i;
    while (e < width && pattern[static_cast<std::size_t>(e)] == '-') ++e;
    s.InsertGaps(first + i - 1, e - i + 1);
    i = e + 1;
  }
}

int EffectiveWindowSize(int setting) {
  return setting < 101 || setting > 34999 ? 5000 : setting;
}

OutsideAligner FindAligner(Services& services, const std::string& explicitProgram) {
  OutsideAligner aligner;
  if (!explicitProgram.empty()) {
    aligner.program = FindProgram(".", {explicitProgram}, {});
    if (aligner.program.empty()) aligner.program = FindProgram({}, {}, explicitProgram);
  } else {
    aligner.program =
        FindProgram(services.settings.programFolder, {"muscle", "muscle.exe"}, "muscle");
  }
  if (aligner.program.empty()) {
    services.messages.ReportError(
        explicitProgram.empty()
            ? "No aligner found: MUSCLE in the program's folder (muscle) or on PATH (the muscle "
              "package)"
            : "No aligner found: " + explicitProgram + " is not an executable program");
    return aligner;
  }
  TExtProg runner(services);
  if (runner.Start(aligner.program, {"-version"}, ".") == 0 &&
      runner.Wait([](char) { return std::string("Looking for the aligner's version"); },
                  "Cancel alignment?")) {
    const std::string text = runner.StandardOutput() + runner.ErrorOutput();
    // "muscle 5.2.linux64 [-]" from MUSCLE 5, "MUSCLE v3.8.31 by Robert C. Edgar" from 3.
    const auto digit = std::find_if(text.begin(), text.end(), [](char c) {
      return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
    int major = 0;
    if (digit != text.end() &&
        std::from_chars(&*digit, text.data() + text.size(), major).ec == std::errc())
      aligner.majorVersion = major;
  }
  return aligner;
}

int MuscleAlign(TDataSeq& ds, Services& services, const MuscleRun& run) {
  if (run.saveUndo) ds.SaveUndo();
  ds.InvalidateMutHolders();
  int result = kAlignFailed;
  if (!run.aligner.program.empty()) {
    result = WindowAligner(ds, services, run).Run();
  } else {
    services.messages.ReportError("No aligner: dataset " + ds.dsName + " was not aligned");
  }
  if (result != 0) {
    if (ds.HasUndo()) (void)ds.Undo();
    if (result == kAlignCancelled) services.messages.Notify("Alignment cancelled");
    return result;
  }
  ds.NormaliseShifts();
  return 0;
}
