#include "FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <mutex>

namespace vestrel::text {

namespace {

struct Substitute {
    const char* name;
    std::vector<std::string> families;
};

// Song-style (serif) CJK faces first for the Song names, sans CJK for the Hei names, and
// the metric-compatible Liberation faces for the common Latin names.
const std::vector<Substitute>& SubstituteTable()
{
    static const std::vector<std::string> song{"AR PL UMing CN", "AR PL UMing TW", "AR PL UMing HK",
                                               "AR PL SungtiL GB", "Noto Serif CJK SC", "Source Han Serif SC"};
    static const std::vector<std::string> kai{"AR PL UKai CN", "AR PL KaitiM GB", "AR PL UMing CN", "Noto Serif CJK SC"};
    static const std::vector<std::string> hei{"Noto Sans CJK SC", "WenQuanYi Zen Hei", "WenQuanYi Micro Hei",
                                              "Source Han Sans SC", "AR PL UMing CN"};
    static const std::vector<Substitute> table{
        {"宋体", song}, {"新宋体", song}, {"simsun", song}, {"nsimsun", song}, {"宋体-18030", song},
        {"仿宋", song}, {"仿宋_gb2312", song}, {"fangsong", song},
        {"楷体", kai}, {"楷体_gb2312", kai}, {"kaiti", kai},
        {"黑体", hei}, {"simhei", hei}, {"微软雅黑", hei}, {"microsoft yahei", hei},
        {"times new roman", {"Liberation Serif", "Tinos", "DejaVu Serif"}},
        {"arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
        {"courier new", {"Liberation Mono", "Cousine", "DejaVu Sans Mono"}},
    };
    return table;
}

std::string Lower(std::string text)
{
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsCjkName(const std::string& family)
{
    return std::any_of(family.begin(), family.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; });
}

// Our own fontconfig configuration, loaded once and freed at exit, so that the image
// library neither depends on nor disturbs the one the desktop toolkit uses. Calls go
// through one lock: the program draws text from one thread, but tests and tools may not.
class FontconfigSession {
public:
    ~FontconfigSession()
    {
        if (config_ != nullptr) FcConfigDestroy(config_);
    }
    // Null when fontconfig cannot load any configuration.
    FcConfig* Config()
    {
        if (config_ == nullptr && !tried_) {
            tried_ = true;
            config_ = FcInitLoadConfigAndFonts();
        }
        return config_;
    }
    std::mutex lock;

private:
    FcConfig* config_ = nullptr;
    bool tried_ = false;
};

FontconfigSession& Session()
{
    static FontconfigSession session;
    return session;
}

FcPattern* MakePattern(FcConfig* config, const std::string& family, int weight, bool italic)
{
    FcPattern* pattern = FcPatternCreate();
    if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    for (const std::string& substitute : SubstituteFamilies(family))
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(substitute.c_str()));
    if (IsCjkName(family)) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

std::optional<FontFile> Describe(FcPattern* font, int weight, bool italic)
{
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) return std::nullopt;
    FontFile result;
    result.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) result.index = index;
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr)
        result.family = reinterpret_cast<const char*>(family);
    int foundWeight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &foundWeight);
    int foundSlant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_SLANT, 0, &foundSlant);
    // The system's rules may already have marked the face for emboldening (and then report
    // the weight asked for, not the face's own).
    FcBool embolden = FcFalse;
    FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden);
    result.syntheticBold = weight >= 600 && (embolden == FcTrue || foundWeight < FC_WEIGHT_DEMIBOLD);
    FcMatrix* slant = nullptr;
    const bool slanted = FcPatternGetMatrix(font, FC_MATRIX, 0, &slant) == FcResultMatch && slant != nullptr &&
                         slant->xy != 0;
    result.syntheticItalic = italic && (slanted || foundSlant == FC_SLANT_ROMAN);
    return result;
}

}  // namespace

std::vector<std::string> SubstituteFamilies(const std::string& family)
{
    const std::string key = Lower(family);
    for (const Substitute& entry : SubstituteTable())
        if (key == entry.name) return entry.families;
    return {};
}

std::optional<FontFile> ResolveFont(const std::string& family, int weight, bool italic)
{
    std::lock_guard guard(Session().lock);
    FcConfig* config = Session().Config();
    if (config == nullptr) return std::nullopt;
    FcPattern* pattern = MakePattern(config, family, weight, italic);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(config, pattern, &result);
    std::optional<FontFile> found;
    if (font != nullptr) found = Describe(font, weight, italic);
    if (font != nullptr) FcPatternDestroy(font);
    FcPatternDestroy(pattern);
    return found;
}

std::optional<FontFile> ResolveFontFor(char32_t codepoint, const std::string& family, int weight, bool italic)
{
    std::lock_guard guard(Session().lock);
    FcConfig* config = Session().Config();
    if (config == nullptr) return std::nullopt;
    FcPattern* pattern = MakePattern(config, family, weight, italic);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(config, pattern, FcFalse, nullptr, &result);
    std::optional<FontFile> found;
    for (int i = 0; fonts != nullptr && i < fonts->nfont && !found; ++i) {
        FcCharSet* charset = nullptr;
        if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &charset) != FcResultMatch) continue;
        if (!FcCharSetHasChar(charset, FcChar32(codepoint))) continue;
        FcPattern* font = FcFontRenderPrepare(config, pattern, fonts->fonts[i]);
        if (font != nullptr) {
            found = Describe(font, weight, italic);
            FcPatternDestroy(font);
        }
    }
    if (fonts != nullptr) FcFontSetDestroy(fonts);
    FcPatternDestroy(pattern);
    return found;
}

}  // namespace vestrel::text
