#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/Camera.h"
#include "options/OptionsFile.h"
#include "settings/LiveVariables.h"
#include "streamlines/StreamlineSet.h"
#include "support/FileLimits.h"
#include "support/TempDir.h"
#include "tf/TransferFunctionSet.h"

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

const char* const kFileNotFound = "error while loeding the xml config file: file not found\n";
const char* const kTooFewPoints = "ERROR while loading xml conifg file: file emptry or too few points for tf found\n";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Replaces the first occurrence of `from`, which must be there.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The text between <element> and </element> (their first occurrence) replaced by value.
std::string withValue(std::string text, const std::string& element, const std::string& value) {
    const std::size_t open = text.find("<" + element + ">");
    const std::size_t close = text.find("</" + element + ">", open);
    EXPECT_NE(close, std::string::npos) << element;
    if (close == std::string::npos) return text;
    const std::size_t start = open + element.size() + 2;
    return text.replace(start, close - start, value);
}

struct PointValues {
    float position, width;
    int red, green, blue, alpha;
};

std::vector<PointValues> pointsOf(TransferFunction* tf) {
    std::vector<PointValues> values;
    for (const TfPoint* p = tf->points().first(); p != nullptr; p = p->next.get()) {
        values.push_back(
            {p->position, p->markerWidth, p->color.redByte, p->color.greenByte, p->color.blueByte, p->color.alphaByte});
    }
    return values;
}

void setPoints(TransferFunction* tf, const std::vector<PointValues>& values) {
    std::vector<TfPoint> points;
    for (const PointValues& v : values) {
        points.emplace_back(v.position, v.width, ColorRGBA(v.red, v.green, v.blue, v.alpha));
    }
    tf->points().setPoints(points);
    tf->buildColorTable();
}

void expectPoints(TransferFunction* tf, const std::vector<PointValues>& expected) {
    const std::vector<PointValues> actual = pointsOf(tf);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(actual[i].position, expected[i].position);
        EXPECT_FLOAT_EQ(actual[i].width, expected[i].width);
        EXPECT_EQ(actual[i].red, expected[i].red);
        EXPECT_EQ(actual[i].green, expected[i].green);
        EXPECT_EQ(actual[i].blue, expected[i].blue);
        EXPECT_EQ(actual[i].alpha, expected[i].alpha);
    }
}

const std::vector<PointValues> kDefaultPoints = {{0.0f, defaultPointWidth, 0, 0, 0, 255},
                                                 {4.0f, defaultPointWidth, 255, 255, 255, 255}};

// The settings and objects right after a dataset has been opened with the
// panel's start values, attached to an options file.
class OptionsScene : public ::testing::Test {
protected:
    void SetUp() override {
        resetLiveVariables();
        options.attach({tfs[0], tfs[1], tfs[2], tfs[3]}, &lines);
    }
    void TearDown() override { resetLiveVariables(); }

    std::string file(const std::string& name) const { return (dir / name).string(); }
    std::string writeFile(const std::string& name, const std::string& content) const {
        std::ofstream(file(name), std::ios::binary) << content;
        return file(name);
    }
    std::string savedDefaults() {
        const std::string path = file("defaults.xml");
        EXPECT_TRUE(options.save(path));
        return readFile(path);
    }
    // Loads the text as an options file; returns what went to standard error.
    std::string loadText(const std::string& text, bool expectSuccess = true) {
        const std::string path = writeFile("load.xml", text);
        CaptureStderr();
        const bool loaded = options.load(path);
        const std::string err = GetCapturedStderr();
        EXPECT_EQ(loaded, expectSuccess) << err;
        return err;
    }

    TempDir temp;
    const fs::path dir = temp.path();
    Camera camera;
    TransferFunctionSet tfs = createTransferFunctions(nullptr, 0, 2, nullptr);
    StreamlineSet lines{nullptr, 0, 1, 0.005f, 0.4f, 0.2f};
    OptionsFile options{&camera};
};

}  // namespace

TEST_F(OptionsScene, DefaultSettingsSaveAsTheGoldenFile) {
    const std::string golden = readFile(std::string(QM_SOURCE_DIR) + "/tests/golden/options_default.xml");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(savedDefaults(), golden);
}

TEST_F(OptionsScene, SaveThenLoadRestoresEveryValue) {
    backgroundChannel = 2;
    camera.setTranslationX(0.125f);
    camera.setTranslationY(-0.0123456789f);
    camera.setZoom(1.5e-7f);
    setPoints(tfs[0], {{0.0f, 0.12f, 10, 20, 30, 255}, {1.25f, 0.3f, 127, 128, 254, 64}, {4.0f, 0.12f, 255, 0, 1, 0}});
    setPoints(tfs[1], {{0.0f, 0.5f, 1, 2, 3, 4}, {2.0f, 0.25f, 200, 100, 50, 25}, {4.0f, 0.5f, 5, 6, 7, 8}});
    setPoints(tfs[3], {{0.0f, 0.12f, 127, 127, 127, 127},
                       {3.333333f, 0.12f, 9, 9, 9, 9},
                       {3.5f, 0.1f, 0, 0, 0, 0},
                       {4.0f, 0.12f, 255, 255, 255, 255}});
    showArrowPlot = 1;
    arrowSizeEnabled = 0;
    applyArrowTf = 1;
    arrowCountX = 37;
    arrowCountY = 2;
    arrowSize = 12.75f;
    showStreamlines = 1;
    integrationMethod = 1;
    streamlineMode = 3;
    seedPoints = 17;
    dsep = 0.0123456789f;
    dtest = 0.3f;
    stepSize = 0.0025f;
    ::unitSpeed = 1;
    lines.setColor(127 / 255.0f, 0.0f, 200 / 255.0f);
    ASSERT_EQ(lines.color()->redByte, 127);
    ASSERT_TRUE(options.save(file("round.xml")));

    // Scramble everything, then load the file back.
    backgroundChannel = 0;
    camera.reset();
    for (int i = 0; i < 4; ++i) setPoints(tfs[i], {{0, 1, 0, 0, 0, 0}, {4, 1, 0, 0, 0, 0}});
    showArrowPlot = arrowSizeEnabled = applyArrowTf = showStreamlines = integrationMethod = streamlineMode = 0;
    arrowCountX = arrowCountY = seedPoints = 3;
    arrowSize = dsep = dtest = stepSize = 1.0f;
    ::unitSpeed = 0;
    lines.setColor(1.0f, 1.0f, 1.0f);
    CaptureStderr();
    EXPECT_TRUE(options.load(file("round.xml")));
    EXPECT_EQ(GetCapturedStderr(), "");

    EXPECT_EQ(backgroundChannel, 2);
    EXPECT_FLOAT_EQ(camera.getTranslationX(), 0.125f);
    EXPECT_FLOAT_EQ(camera.getTranslationY(), -0.0123457f);  // 6 significant digits
    EXPECT_FLOAT_EQ(camera.getZoom(), 1.5e-7f);
    // Colour bytes are saved as byte / 255 with 6 digits and come back unchanged
    // (127 is saved as 0.498039, which times 255 falls a hair short of 127).
    expectPoints(tfs[0],
                 {{0.0f, 0.12f, 10, 20, 30, 255}, {1.25f, 0.3f, 127, 128, 254, 64}, {4.0f, 0.12f, 255, 0, 1, 0}});
    expectPoints(tfs[1], {{0.0f, 0.5f, 1, 2, 3, 4}, {2.0f, 0.25f, 200, 100, 50, 25}, {4.0f, 0.5f, 5, 6, 7, 8}});
    expectPoints(tfs[2], kDefaultPoints);
    expectPoints(tfs[3], {{0.0f, 0.12f, 127, 127, 127, 127},
                          {3.33333f, 0.12f, 9, 9, 9, 9},
                          {3.5f, 0.1f, 0, 0, 0, 0},
                          {4.0f, 0.12f, 255, 255, 255, 255}});
    EXPECT_EQ(tfs[1]->colorTable[4 * 2048], 200);  // the colour table was rebuilt from the new points
    EXPECT_EQ(showArrowPlot, 1);
    EXPECT_EQ(arrowSizeEnabled, 0);
    EXPECT_EQ(applyArrowTf, 1);
    EXPECT_EQ(arrowCountX, 37);
    EXPECT_EQ(arrowCountY, 2);
    EXPECT_FLOAT_EQ(arrowSize, 12.0f);  // written as an integer
    EXPECT_EQ(showStreamlines, 1);
    EXPECT_EQ(integrationMethod, 1);
    EXPECT_EQ(streamlineMode, 3);
    EXPECT_EQ(seedPoints, 17);
    EXPECT_FLOAT_EQ(dsep, 0.0123457f);
    EXPECT_FLOAT_EQ(dtest, 0.3f);
    EXPECT_FLOAT_EQ(stepSize, 0.0025f);
    EXPECT_EQ(::unitSpeed, 1);
    EXPECT_EQ(lines.color()->redByte, 127);
    EXPECT_EQ(lines.color()->greenByte, 0);
    EXPECT_EQ(lines.color()->blueByte, 200);
    EXPECT_EQ(lines.color()->alphaByte, 255);
}

TEST_F(OptionsScene, ArrowSizeLosesItsFraction) {
    arrowSize = 2.5f;
    const std::string saved = savedDefaults();
    EXPECT_NE(saved.find("<pointsize>2</pointsize>"), std::string::npos);
    arrowSize = 7.0f;
    EXPECT_EQ(loadText(saved), "");
    EXPECT_FLOAT_EQ(arrowSize, 2.0f);
}

TEST_F(OptionsScene, NumbersAreReadAsFarAsTheyGo) {
    std::string text = replaced(savedDefaults(), "<count_x>10</count_x>", "<count_x>12abc</count_x>");
    text = replaced(text, "<seedpoints>5</seedpoints>", "<seedpoints></seedpoints>");
    text = replaced(text, "<index>0</index>", "<index> +1.9e5</index>");
    text = replaced(text, "<zoom>0</zoom>", "<zoom>  -0.25x</zoom>");
    text = replaced(text, "<enable_arrowplot>0</enable_arrowplot>", "<enable_arrowplot>1.9</enable_arrowplot>");
    text = replaced(text, "<enable_sizemodification>1</enable_sizemodification>",
                    "<enable_sizemodification>0.9</enable_sizemodification>");
    EXPECT_EQ(loadText(text), "");
    EXPECT_EQ(arrowCountX, 12);
    EXPECT_EQ(seedPoints, 0);         // an empty text is 0
    EXPECT_EQ(backgroundChannel, 1);  // atoi stops at the "."
    EXPECT_FLOAT_EQ(camera.getZoom(), -0.25f);
    EXPECT_EQ(showArrowPlot, 1);  // atof, truncated
    EXPECT_EQ(arrowSizeEnabled, 0);
}

TEST_F(OptionsScene, ElementNamesInAnyCaseLoadTheSame) {
    std::string text = replaced(savedDefaults(), "<count_y>10</count_y>", "<COUNT_Y>33</Count_Y>");
    text = replaced(text, "<camera>", "<CaMeRa>");
    text = replaced(text, "<zoom>0</zoom>", "<ZOOM>2.5</ZOOM>");
    text = replaced(text, "<flow_visualization_options>", "<FLOW_VISUALIZATION_OPTIONS>");
    EXPECT_EQ(loadText(text), "");
    EXPECT_EQ(arrowCountY, 33);
    EXPECT_FLOAT_EQ(camera.getZoom(), 2.5f);
}

TEST_F(OptionsScene, ATransferFunctionWithOnePointStopsTheLoad) {
    std::string text = savedDefaults();
    // velocity gets three points, data1 only one.
    const std::string point =
        "\t\t\t<point>\n\t\t\t\t<x>2</x>\n\t\t\t\t<size>0.2</size>\n\t\t\t\t<red>1</red>\n"
        "\t\t\t\t<green>0</green>\n\t\t\t\t<blue>0</blue>\n\t\t\t\t<alpha>1</alpha>\n\t\t\t</point>\n";
    text = replaced(text, "\t\t</velocity>", point + "\t\t</velocity>");
    const std::size_t data1 = text.find("<data1>");
    const std::size_t second = text.find("<point>", text.find("</point>", data1));
    text.erase(second, text.find("</point>", second) + 8 - second);
    text = replaced(text, "<index>0</index>", "<index>1</index>");
    text = replaced(text, "<zoom>0</zoom>", "<zoom>0.75</zoom>");
    text = replaced(text, "<count_x>10</count_x>", "<count_x>50</count_x>");
    text = replaced(text, "<red>1</red>\n\t\t\t<green>", "<red>0</red>\n\t\t\t<green>");  // streamline colour
    setPoints(tfs[1], {{0, 0.12f, 9, 9, 9, 9}, {4, 0.12f, 9, 9, 9, 9}});

    EXPECT_EQ(loadText(text, false), kTooFewPoints);
    EXPECT_EQ(backgroundChannel, 1);
    EXPECT_FLOAT_EQ(camera.getZoom(), 0.75f);
    // velocity is sorted into place; data1 and everything after it keep their values.
    expectPoints(tfs[0], {{0, 0.12f, 0, 0, 0, 255}, {2, 0.2f, 255, 0, 0, 255}, {4, 0.12f, 255, 255, 255, 255}});
    expectPoints(tfs[1], {{0, 0.12f, 9, 9, 9, 9}, {4, 0.12f, 9, 9, 9, 9}});
    expectPoints(tfs[2], kDefaultPoints);
    EXPECT_EQ(arrowCountX, 10);
    EXPECT_EQ(lines.color()->redByte, 255);

    const std::string none = replaced(savedDefaults(), "<arrow>", "<arrow></arrow><unused>");
    EXPECT_EQ(loadText(replaced(none, "</arrow>\n\t</transferfunction>", "</unused>\n\t</transferfunction>"), false),
              kTooFewPoints);
}

TEST_F(OptionsScene, UnreadableFilesChangeNothing) {
    const std::string defaults = savedDefaults();
    camera.setZoom(3.0f);
    CaptureStderr();
    EXPECT_FALSE(options.load(file("absent.xml")));
    EXPECT_EQ(GetCapturedStderr(), kFileNotFound);
    EXPECT_EQ(loadText("<flow_visualization_options>\n</flow_visualization_options>\n", false), kFileNotFound);
    EXPECT_EQ(loadText(defaults.substr(0, defaults.size() / 2), false), kFileNotFound);
    EXPECT_FLOAT_EQ(camera.getZoom(), 3.0f);
}

TEST_F(OptionsScene, MissingValuesKeepTheirCurrentValuesAndAreNamedOnce) {
    std::string text = replaced(savedDefaults(), "\t\t<zoom>0</zoom>\n", "");
    text = replaced(text, "<dt>0.005</dt>", "<dt>nan</dt>");
    text = replaced(text, "<green>1</green>\n\t\t\t<blue>", "<blue>");  // streamline colour
    text = replaced(text, "<count_y>10</count_y>", "<count_y>77</count_y>");
    text = replaced(text, "<modus_index>0</modus_index>", "");
    // One point of data2 without its size: data2 keeps its points, the others load.
    const std::size_t data2 = text.find("<data2>");
    const std::size_t size = text.find("<size>", data2);
    text.erase(size, text.find("</size>", size) + 7 - size);
    text = replaced(text, "<red>0</red>", "<red>0.5</red>");  // first velocity point

    camera.setZoom(0.5f);
    stepSize = 0.01f;
    streamlineMode = 2;
    lines.setColor(0.0f, 127 / 255.0f, 0.0f);
    setPoints(tfs[2], {{0, 0.12f, 7, 7, 7, 7}, {4, 0.12f, 7, 7, 7, 7}});

    EXPECT_EQ(loadText(text),
              "Warning: kept the current values of missing or unusable entries in options file '" + file("load.xml") +
                  "': camera/zoom, transferfunction/data2/point/size, streamlines/modus_index, streamlines/dt, "
                  "streamlines/color/green\n");
    EXPECT_FLOAT_EQ(camera.getZoom(), 0.5f);
    EXPECT_FLOAT_EQ(stepSize, 0.01f);
    EXPECT_EQ(streamlineMode, 2);
    EXPECT_EQ(arrowCountY, 77);
    EXPECT_EQ(lines.color()->redByte, 255);
    EXPECT_EQ(lines.color()->greenByte, 127);  // kept exactly, not one lower
    EXPECT_EQ(pointsOf(tfs[0])[0].red, 127);
    expectPoints(tfs[2], {{0, 0.12f, 7, 7, 7, 7}, {4, 0.12f, 7, 7, 7, 7}});

    // A file without any groups changes nothing and says so in one line.
    EXPECT_EQ(loadText("<?xml version=\"1.0\"?>\r\n<flow_visualization_options></x>"),
              "Warning: kept the current values of missing or unusable entries in options file '" + file("load.xml") +
                  "': background/index, camera/translation/x, camera/translation/y, camera/zoom, "
                  "transferfunction/velocity, transferfunction/data1, transferfunction/data2, transferfunction/arrow, "
                  "arrowplot/count_x, arrowplot/count_y, arrowplot/pointsize, arrowplot/enable_arrowplot, "
                  "arrowplot/enable_sizemodification, arrowplot/apply_arrowtf, streamlines/enable_streamlines, "
                  "streamlines/integration_index, streamlines/modus_index, streamlines/seedpoints, streamlines/dsep, "
                  "streamlines/dtest, streamlines/dt, streamlines/color/blue, streamlines/color/green, "
                  "streamlines/color/red\n");
    EXPECT_EQ(arrowCountY, 77);
    EXPECT_EQ(lines.color()->greenByte, 127);
}

// The window says what a load left undone; the console lines stay as they are.
TEST_F(OptionsScene, WhatALoadLeftUndoneIsKeptForTheWindow) {
    const std::string defaults = savedDefaults();
    CaptureStderr();
    EXPECT_FALSE(options.load(file("absent.xml")));
    GetCapturedStderr();
    EXPECT_EQ(options.loadFailure(), "the file is missing or not an XML file");
    EXPECT_TRUE(options.skippedEntries().empty());

    std::string text = replaced(replaced(defaults, "\t\t<zoom>0</zoom>\n", ""), "<dt>0.005</dt>", "<dt>nan</dt>");
    text = replaced(replaced(text, "<count_x>10</count_x>", "<count_x>500</count_x>"), "<seedpoints>5<",
                    "<seedpoints>-1<");
    loadText(text);
    EXPECT_EQ(options.loadFailure(), "");
    EXPECT_EQ(options.skippedEntries(), (std::vector<std::string>{"camera/zoom", "streamlines/dt"}));
    EXPECT_EQ(options.clampedEntries(), (std::vector<std::string>{"arrowplot/count_x", "streamlines/seedpoints"}));
    EXPECT_EQ(arrowCountX, 200);

    const std::string data1 = "<data1>";
    std::string onePoint = defaults;
    const std::size_t second = onePoint.find("<point>", onePoint.find("</point>", onePoint.find(data1)));
    onePoint.erase(second, onePoint.find("</point>", second) + 8 - second);
    loadText(onePoint, false);
    EXPECT_EQ(options.loadFailure(), "a transfer function has fewer than two points");
}

TEST_F(OptionsScene, UnitSpeedIsWrittenAfterDtAndOlderFilesWithoutItLoadAsOff) {
    ::unitSpeed = 1;
    const std::string saved = savedDefaults();
    EXPECT_NE(saved.find("<dt>0.005</dt>\n\t\t<unit_speed>1</unit_speed>\n\t\t<color>"), std::string::npos) << saved;

    // A file from before unit speed: it loads as off, without a warning.
    const std::string older = replaced(saved, "\t\t<unit_speed>1</unit_speed>\n", "");
    EXPECT_EQ(loadText(older), "");
    EXPECT_EQ(::unitSpeed, 0);

    EXPECT_EQ(loadText(saved), "");
    EXPECT_EQ(::unitSpeed, 1);
    // Read with atoi and held to 0 .. 1, its name in any case.
    EXPECT_EQ(loadText(withValue(saved, "unit_speed", "-4")), "");
    EXPECT_EQ(::unitSpeed, 0);
    EXPECT_EQ(loadText(replaced(saved, "<unit_speed>1</unit_speed>", "<UNIT_SPEED>7x</Unit_Speed>")), "");
    EXPECT_EQ(::unitSpeed, 1);
}

TEST_F(OptionsScene, LoadedPointsAreBroughtIntoShape) {
    std::string text = savedDefaults();
    const std::string points =
        "<velocity>"
        "<point><x>2.5</x><size>0</size><red>0</red><green>1</green><blue>0</blue><alpha>1</alpha></point>"
        "<point><x>9</x><size>0.2</size><red>0</red><green>0</green><blue>1</blue><alpha>1</alpha></point>"
        "<point><x>-1</x><size>-3</size><red>1</red><green>0</green><blue>0</blue><alpha>1</alpha></point>"
        "<point><x>nan</x><size>inf</size><red>1</red><green>1</green><blue>0</blue><alpha>1</alpha></point>"
        "<point><x>1</x><size>0.3</size><red>1</red><green>1</green><blue>1</blue><alpha>1</alpha></point>"
        "</velocity>";
    const std::size_t from = text.find("<velocity>");
    text.replace(from, text.find("</velocity>") + 11 - from, points);
    // An infinite width (or a NaN position) is no usable number: the function keeps its points.
    EXPECT_NE(loadText(text).find(": transferfunction/velocity/point/size\n"), std::string::npos);
    expectPoints(tfs[0], kDefaultPoints);

    text = replaced(text, "<x>nan</x><size>inf</size>", "<x>-0</x><size>1e-3</size>");
    EXPECT_EQ(loadText(text), "");
    expectPoints(tfs[0], {{0, defaultPointWidth, 255, 0, 0, 255},
                          {0, 1e-3f, 255, 255, 0, 255},
                          {1, 0.3f, 255, 255, 255, 255},
                          {2.5f, defaultPointWidth, 0, 255, 0, 255},
                          {4, 0.2f, 0, 0, 255, 255}});
    const auto texel = [&](int k) {
        const auto& t = tfs[0]->colorTable;
        return std::vector<int>{t[4 * k], t[4 * k + 1], t[4 * k + 2]};
    };
    EXPECT_EQ(texel(0), (std::vector<int>{255, 255, 0}));  // the red segment is empty
    EXPECT_EQ(texel(1024), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(texel(2560), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(texel(4095), (std::vector<int>{0, 0, 255}));
}

TEST_F(OptionsScene, LoadedValuesAreHeldToThePanelLimits) {
    const std::string defaults = savedDefaults();
    auto load = [&](const std::vector<std::pair<std::string, std::string>>& changes) {
        std::string text = defaults;
        for (const auto& [element, value] : changes) text = withValue(text, element, value);
        EXPECT_EQ(loadText(text), "");
    };
    load({{"count_x", "500"},
          {"count_y", "0"},
          {"pointsize", "1000"},
          {"seedpoints", "1000"},
          {"index", "17"},
          {"modus_index", "9"},
          {"integration_index", "5"},
          {"enable_streamlines", "3"},
          {"apply_arrowtf", "3.7"},
          {"dsep", "-1"},
          {"dtest", "0"},
          {"dt", "-0.5"}});
    EXPECT_EQ(arrowCountX, 200);
    EXPECT_EQ(arrowCountY, 2);
    EXPECT_FLOAT_EQ(arrowSize, 200.0f);
    EXPECT_EQ(seedPoints, 100);
    EXPECT_EQ(backgroundChannel, 10);
    EXPECT_EQ(streamlineMode, 4);
    EXPECT_EQ(integrationMethod, 1);
    EXPECT_EQ(showStreamlines, 1);
    EXPECT_EQ(applyArrowTf, 1);
    // The streamline distances are passed on; the streamline set guards them when applied.
    EXPECT_FLOAT_EQ(dsep, -1.0f);
    EXPECT_FLOAT_EQ(dtest, 0.0f);
    EXPECT_FLOAT_EQ(stepSize, -0.5f);

    load({{"pointsize", "0.01"},
          {"seedpoints", "-5"},
          {"index", "-1"},
          {"enable_arrowplot", "-2"},
          {"count_x", "99999999999999999999"}});
    EXPECT_FLOAT_EQ(arrowSize, 0.1f);
    EXPECT_EQ(seedPoints, 0);
    EXPECT_EQ(backgroundChannel, 0);
    EXPECT_EQ(showArrowPlot, 0);
    EXPECT_EQ(arrowCountX, 200);
}

TEST_F(OptionsScene, CameraValuesAreBoundedSoTheViewBoxKeepsItsSize) {
    const std::string defaults = savedDefaults();
    const std::string far = withValue(withValue(defaults, "x", "1e8"), "y", "-3e38");
    EXPECT_EQ(loadText(withValue(far, "zoom", "-0.7")), "");
    EXPECT_FLOAT_EQ(camera.getTranslationX(), 100.0f);
    EXPECT_FLOAT_EQ(camera.getTranslationY(), -100.0f);
    EXPECT_FLOAT_EQ(camera.getZoom(), -0.69f);
    // The box GL receives still has width and height in float.
    for (float aspect : {0.5f, 1.0f, 1.6f}) {
        const Camera::OrthoBox box = camera.projectionBox(aspect);
        EXPECT_LT(static_cast<float>(box.left), static_cast<float>(box.right)) << aspect;
        EXPECT_LT(static_cast<float>(box.bottom), static_cast<float>(box.top)) << aspect;
    }
    EXPECT_EQ(loadText(withValue(defaults, "zoom", "1e30")), "");
    EXPECT_FLOAT_EQ(camera.getZoom(), 100.0f);
}

TEST_F(OptionsScene, AFailedSaveKeepsThePreviousFile) {
    const std::string target = writeFile("options.xml", "previous\n");
    CaptureStderr();
    {
        const FileSizeLimit full(16);
        EXPECT_FALSE(options.save(target));
    }
    EXPECT_EQ(GetCapturedStderr(), "Save Error\n");
    EXPECT_EQ(readFile(target), "previous\n");

    CaptureStderr();
    EXPECT_FALSE(options.save(file("missing/options.xml")));
    EXPECT_EQ(GetCapturedStderr(), "Save Error\n");
}

TEST_F(OptionsScene, ChannelsFromThreeOnKeepTheirTransferFunctionsAfterTheFourAndOlderFilesLeaveThem) {
    // The transfer functions of data channels 3 and 4.
    TransferFunction channel3(2.5f, 0.1f, 4.0f, defaultPointWidth, 320, nullptr, nullptr, 0.065f, 4, false, nullptr, 5);
    TransferFunction channel4(2.5f, 0.1f, 4.0f, defaultPointWidth, 320, nullptr, nullptr, 0.065f, 5, false, nullptr, 6);
    options.attach({tfs[0], tfs[1], tfs[2], tfs[3]}, &lines, {&channel3, &channel4});
    // Bytes that are fifths of 255 come back as they were.
    const std::vector<PointValues> red = {{0.0f, 0.12f, 204, 0, 51, 255}, {4.0f, 0.12f, 255, 51, 102, 255}};
    const std::vector<PointValues> green = {
        {0.0f, 0.12f, 0, 102, 51, 255}, {2.5f, 0.12f, 51, 153, 204, 255}, {4.0f, 0.12f, 102, 255, 0, 255}};
    setPoints(&channel3, red);
    setPoints(&channel4, green);
    const std::string saved = savedDefaults();
    EXPECT_NE(saved.find("\t\t</arrow>\n\t\t<data3>\n"), std::string::npos);
    EXPECT_NE(saved.find("\t\t</data3>\n\t\t<data4>\n"), std::string::npos);
    setPoints(&channel3, kDefaultPoints);
    setPoints(&channel4, kDefaultPoints);
    EXPECT_EQ(loadText(saved), "");
    expectPoints(&channel3, red);
    expectPoints(&channel4, green);

    // A file of a dataset with fewer channels has no such element: the
    // functions keep their points, and nothing is reported.
    const std::string golden = readFile(std::string(QM_SOURCE_DIR) + "/tests/golden/options_default.xml");
    EXPECT_EQ(loadText(golden), "");
    expectPoints(&channel3, red);
    // Loaded where the channels are missing, the extra elements are passed over.
    options.attach({tfs[0], tfs[1], tfs[2], tfs[3]}, &lines);
    EXPECT_EQ(loadText(saved), "");
}

TEST_F(OptionsScene, OlderFilesDrawLinesInTheirOwnColourAndKeepTheBandWidths) {
    // A file from before the drawing group, with red lines.
    std::string golden = readFile(std::string(QM_SOURCE_DIR) + "/tests/golden/options_default.xml");
    const std::size_t from = golden.find("\t<drawing>");
    const std::size_t to = golden.find("</drawing>\n") + std::string("</drawing>\n").size();
    ASSERT_NE(from, std::string::npos);
    const std::string older = golden.erase(from, to - from);
    const std::string red = replaced(older, "<green>1</green>\n\t\t\t<blue>1</blue>\n\t\t</color>",
                                     "<green>0</green><blue>0</blue></color>");
    lineWidthMax = 0.25f;
    glyphSpacing = 0.9f;
    EXPECT_EQ(loadText(red), "");
    EXPECT_EQ(lineColor, 2) << "the chosen colour: red";
    EXPECT_EQ(lines.color()->greenByte, 0);
    EXPECT_FLOAT_EQ(lineWidthMax, 0.25f) << "older files never held it";
    EXPECT_FLOAT_EQ(glyphSpacing, 0.3f) << "older files drew glyphs 0.3 apart";
    EXPECT_EQ(loadText(older), "");
    EXPECT_EQ(lineColor, 0) << "white lines: white";
}

TEST(OptionsDetached, SaveAndLoadDoNothingBeforeAttach) {
    Camera camera;
    OptionsFile options(&camera);
    const TempDir dir;
    const std::string path = dir.file("options.xml");
    EXPECT_FALSE(options.save(path));
    EXPECT_FALSE(fs::exists(path));
    std::ofstream(path) << "<?xml version=\"1.0\"?>\n<r><camera><zoom>5</zoom></camera></r>\n";
    EXPECT_FALSE(options.load(path));
    EXPECT_FLOAT_EQ(camera.getZoom(), 0.0f);
}
