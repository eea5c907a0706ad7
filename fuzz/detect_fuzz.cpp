// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: format detection on arbitrary first bytes, then the reader of the code found,
// as the open dispatcher would run it. The first byte picks the file name, whose extension
// some tests consult.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "QuietServices.h"
#include "io/FormatDetect.h"
#include "io/FormatTables.h"
#include "io/IOUnit.h"
#include "io/ProjectFile.h"
#include "io/TraceFormats.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const char* const kNames[] = {"x", "x.phy", "x.exp", "x.contigs", "x.qual", "x.fas"};
  const std::string name = kNames[data[0] % 6];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const int code = DetectFormatBytes(bytes, name);
  (void)LooksBinary(bytes);
  (void)LooksLikeQualityText(bytes);

  QuietServices svc;
  svc.settings.maxSeqPerDataset = 1000;
  TDataProj proj(svc.services);
  TDataSeq ds(svc.services);
  ReadContext ctx(svc.services, name);
  const MemorySource src(bytes);
  switch (code) {
    case kCodeProjectFile:
      (void)ReadProjectBytes(bytes, name, proj, 0);
      break;
    case kCodeNexus:
      (void)OpenNexus(src, ctx, proj);
      break;
    case kCodeMega:
      (void)OpenMega(src, ctx, ds);
      break;
    case kCodeFastaGffQual:
      (void)OpenFasta(src, ctx, ds);
      break;
    case kCodePir:
      (void)OpenPir(src, ctx, ds);
      break;
    case kCodeClustal:
      (void)OpenClustal(src, ctx, ds);
      break;
    case kCodePhylip:
      (void)OpenPhylip(src, ctx, ds);
      break;
    case kCodeAbi:
      (void)ReadAbi(bytes, name, svc.services);
      break;
    case kCodeScf:
      (void)ReadScf(bytes, name, svc.services);
      break;
    case kCodePhd:
      (void)ReadPhdRecords(bytes, name, svc.services);
      break;
    default:
      if (code == 0) (void)OpenUnknownText(src, ctx, ds);
      break;
  }
  return 0;
}
