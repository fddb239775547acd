#include <cstdint>

#include "Bench.h"

namespace quenlit::bench {

namespace {
struct Rng {
  uint64_t s;
  uint32_t next() {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return uint32_t(s >> 33);
  }
  uint32_t below(uint32_t n) { return next() % n; }
};
const char* kWords[] = {"pt",  "ent", "lst", "idx", "name", "layer", "obj", "sel",
                        "len", "ang", "dist", "blk", "txt", "val", "cnt", "tmp"};
}  // namespace

std::string generateLisp(size_t bytes, unsigned seed) {
  Rng r{seed};
  std::string out;
  out.reserve(bytes + 4096);
  int n = 0;
  while (out.size() < bytes) {
    ++n;
    const std::string fn = (r.below(4) == 0 ? "c:cmd" : "util-") + std::to_string(n);
    const char* a = kWords[r.below(16)];
    const char* b = kWords[r.below(16)];
    out += ";;; ------------------------------\r\n";
    out += ";;; " + fn + " : 図面の要素を処理する\r\n";
    out += ";;; ------------------------------\r\n";
    out += "(defun " + fn + " (" + (fn[0] == 'c' ? std::string() : std::string(a) + " ") + "/ " + b + " tmp" +
           std::to_string(n % 7) + " 結果)\r\n";
    if (r.below(3) == 0) {
      out += "  (defun *error* (msg) (princ (strcat \"\\nエラー: \" msg)) (princ))\r\n";
      out += "  (defun sub" + std::to_string(n) + " (x / y) (setq y (* x 2)) y)\r\n";
    }
    const int body = 3 + int(r.below(8));
    for (int k = 0; k < body; ++k) {
      switch (r.below(6)) {
        case 0: out += "  (setq " + std::string(b) + " (getpoint \"\\n点を指定: \"))\r\n"; break;
        case 1: out += "  (if (and " + std::string(b) + " (> (length lst) 0)) (princ \"\\\"quoted\\\"\"))\r\n"; break;
        case 2: out += "  ;; コメント: " + std::string(a) + " を更新\r\n"; break;
        case 3: out += "  (foreach e lst (setq cnt (1+ cnt)) (util-" + std::to_string(1 + r.below(unsigned(n))) + " e))\r\n"; break;
        case 4: out += "  (command \"_.LINE\" pt1 pt2 \"\")\r\n"; break;
        default: out += "  (setq glob" + std::to_string(r.below(50)) + " (list 1 2.5 \"a;b\" 'sym))\r\n"; break;
      }
    }
    if (r.below(10) == 0) out += "  ;| block\r\n     comment (defun not-real ()) |;\r\n";
    out += "  (princ)\r\n)\r\n\r\n";
  }
  return out;
}

}  // namespace quenlit::bench
