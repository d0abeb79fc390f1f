// probe VERB ARGS...: asks one service a question and prints the answer, for people and tests.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "designer/procedures.h"
#include "frame/ground/date_time.h"
#include "frame/ground/memory.h"
#include "frame/ground/owned.h"
#include "frame/ground/to_number.h"
#ifdef _WIN32
#include "frame/ground/file_services.h"
#endif

int ProbePicture(int argc, char** argv);  // probe_picture.cpp

namespace {

int ToNumberVerb(int argc, char** argv) {
  if (argc != 3) return 2;
  std::printf("%.17g\n", TextToNumber(argv[2]));
  return 0;
}

int ToDateVerb(int argc, char** argv) {
  if (argc != 3) return 2;
  std::printf("%.17g\n", TextToDateTime(argv[2]));
  return 0;
}

int IntervalVerb(int argc, char** argv) {
  if (argc != 5) return 2;
  const double first = std::strtod(argv[2], nullptr);
  const double second = std::strtod(argv[3], nullptr);
  std::printf("%.17g\n", TimeInterval(first, second, std::atoi(argv[4])));
  return 0;
}

int JoinVerb(int argc, char** argv) {
  if (argc != 4 && argc != 5) return 2;
  OwnedText joined(JoinTextsWith(FrameAllocate, argv[2], argv[3], argc == 5 ? argv[4] : nullptr));
  std::printf("%s\n", joined ? joined.Get() : "");
  return 0;
}

int FindVerb(int argc, char** argv) {
  if (argc != 3 && argc != 4) return 2;
#ifdef _WIN32
  const bool maskOmitted = argc == 3;
  const auto mask = maskOmitted ? 0u : static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 0));
  FindSlot slot = nullptr;
  for (OwnedText name(FindFile(argv[2], mask, maskOmitted, &slot)); name;
       name.Reset(FindFile("", mask, maskOmitted, &slot))) {
    std::printf("%s\n", name.Get());
  }
  CloseFindHandle(&slot);
  return 0;
#else
  (void)argv;
  std::fprintf(stderr, "probe: find searches with the Windows file search; use the Windows build\n");
  return 1;
#endif
}

struct Verb {
  std::string_view name;
  int (*run)(int argc, char** argv);
  std::string_view usage;
};

constexpr Verb kVerbs[] = {
    {"tonumber", ToNumberVerb, "tonumber TEXT"},
    {"todate", ToDateVerb, "todate TEXT"},
    {"interval", IntervalVerb, "interval FIRST SECOND UNIT"},
    {"join", JoinVerb, "join A B [C]"},
    {"find", FindVerb, "find PATTERN [MASK]"},
    {"picture", ProbePicture, "picture FILE [OUT.ppm]"},
};

int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const Verb& verb : kVerbs) std::fprintf(stderr, "  probe %.*s\n", int(verb.usage.size()), verb.usage.data());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const Verb& verb : kVerbs) {
    if (verb.name == argv[1]) {
      const int status = verb.run(argc, argv);
      return status == 2 ? Usage() : status;
    }
  }
  return Usage();
}
