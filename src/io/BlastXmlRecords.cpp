// SPDX-License-Identifier: GPL-3.0-or-later
// One "Iteration" element of a BLAST XML result (NCBI BlastOutput, as written by blastall -m7
// and BLAST+ -outfmt 5) into BlastIter, BlastHit and BlastHitHsp. The element is parsed once
// from start to end, so the cost grows with its length only; entities are decoded. Elements
// this reader does not use are passed over.
#include <QByteArray>
#include <QXmlStreamReader>

#include "common/NumberFormat.h"
#include "io/ResultFormats.h"
#include "io/TextHelpers.h"

namespace {

enum class Field {
  None,
  Hit,
  Hsp,
  IterNum,
  QueryLen,
  QueryDef,
  HitNum,
  HitLen,
  HitId,
  HitDef,
  HitAccession,
  QueryFrom,
  QueryTo,
  HitFrom,
  HitTo,
  QueryFrame,
  HitFrame,
  Identity,
  Positive,
  BitScore,
  Score,
  Evalue,
  QuerySeq,
  HitSeq,
};

Field FieldOf(QStringView name) {
  static const std::pair<QLatin1StringView, Field> kFields[] = {
      {QLatin1StringView("Hit"), Field::Hit},
      {QLatin1StringView("Hsp"), Field::Hsp},
      {QLatin1StringView("Iteration_iter-num"), Field::IterNum},
      {QLatin1StringView("Iteration_query-len"), Field::QueryLen},
      {QLatin1StringView("Iteration_query-def"), Field::QueryDef},
      {QLatin1StringView("Hit_num"), Field::HitNum},
      {QLatin1StringView("Hit_len"), Field::HitLen},
      {QLatin1StringView("Hit_id"), Field::HitId},
      {QLatin1StringView("Hit_def"), Field::HitDef},
      {QLatin1StringView("Hit_accession"), Field::HitAccession},
      {QLatin1StringView("Hsp_query-from"), Field::QueryFrom},
      {QLatin1StringView("Hsp_query-to"), Field::QueryTo},
      {QLatin1StringView("Hsp_hit-from"), Field::HitFrom},
      {QLatin1StringView("Hsp_hit-to"), Field::HitTo},
      {QLatin1StringView("Hsp_query-frame"), Field::QueryFrame},
      {QLatin1StringView("Hsp_hit-frame"), Field::HitFrame},
      {QLatin1StringView("Hsp_identity"), Field::Identity},
      {QLatin1StringView("Hsp_positive"), Field::Positive},
      {QLatin1StringView("Hsp_bit-score"), Field::BitScore},
      {QLatin1StringView("Hsp_score"), Field::Score},
      {QLatin1StringView("Hsp_evalue"), Field::Evalue},
      {QLatin1StringView("Hsp_qseq"), Field::QuerySeq},
      {QLatin1StringView("Hsp_hseq"), Field::HitSeq},
  };
  for (const auto& [text, field] : kFields)
    if (name.compare(text, Qt::CaseInsensitive) == 0) return field;
  return Field::None;
}

int IntOrZero(const std::string& text) {
  return ParseInt(TrimBlanks(text)).value_or(0);
}
double RealOrZero(const std::string& text) {
  return ParseReal(TrimBlanks(text)).value_or(0.0);
}

void Assign(Field field, const std::string& text, BlastIter& iter) {
  BlastHit* hit = iter.hits.empty() ? nullptr : &iter.hits.back();
  BlastHitHsp* hsp = hit == nullptr || hit->hsps.empty() ? nullptr : &hit->hsps.back();
  switch (field) {
    case Field::IterNum:
      iter.number = IntOrZero(text);
      return;
    case Field::QueryLen:
      iter.queryLength = IntOrZero(text);
      return;
    case Field::QueryDef:
      iter.queryName = text;
      return;
    default:
      break;
  }
  if (hit == nullptr) return;
  switch (field) {
    case Field::HitNum:
      hit->number = IntOrZero(text);
      return;
    case Field::HitLen:
      hit->length = IntOrZero(text);
      return;
    case Field::HitId:
      hit->id = text;
      return;
    case Field::HitDef:
      hit->definition = text;
      return;
    case Field::HitAccession:
      hit->accession = text;
      return;
    default:
      break;
  }
  if (hsp == nullptr) return;
  switch (field) {
    case Field::QueryFrom:
      hsp->queryFrom = IntOrZero(text);
      break;
    case Field::QueryTo:
      hsp->queryTo = IntOrZero(text);
      break;
    case Field::HitFrom:
      hsp->hitFrom = IntOrZero(text);
      break;
    case Field::HitTo:
      hsp->hitTo = IntOrZero(text);
      break;
    case Field::QueryFrame:
      hsp->queryFrame = IntOrZero(text);
      break;
    case Field::HitFrame:
      hsp->hitFrame = IntOrZero(text);
      break;
    case Field::Identity:
      hsp->identity = IntOrZero(text);
      break;
    case Field::Positive:
      hsp->positive = IntOrZero(text);
      break;
    case Field::BitScore:
      hsp->bitScore = RealOrZero(text);
      break;
    case Field::Score:
      hsp->score = RealOrZero(text);
      break;
    case Field::Evalue:
      hsp->evalue = RealOrZero(text);
      break;
    case Field::QuerySeq:
      hsp->querySeq = text;
      break;
    case Field::HitSeq:
      hsp->hitSeq = text;
      break;
    default:
      break;
  }
}

}  // namespace

bool ReadBlastIteration(std::string_view text, BlastIter& iter) {
  iter = {};
  const QByteArray bytes =
      QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size()));
  QXmlStreamReader xml(bytes);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const Field field = FieldOf(xml.name());
    if (field == Field::Hit) {
      iter.hits.emplace_back();
    } else if (field == Field::Hsp) {
      if (!iter.hits.empty()) iter.hits.back().hsps.emplace_back();
    } else if (field != Field::None) {
      // Text is single-byte throughout the program: characters beyond Latin-1 become '?'.
      const QString value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
      Assign(field, value.toLatin1().toStdString(), iter);
    }
  }
  if (xml.hasError() || iter.queryName.empty()) {
    iter = {};
    return false;
  }
  return true;
}
