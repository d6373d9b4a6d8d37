#pragma once
// One pass over a job stream: splits it into PJL/ticket text, PCL escapes and HP-GL/2 commands,
// keeps the HP-GL/2 graphics state, and paints into a band (or only checks, without a band).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/jobrender/BandCanvas.h"
#include "tools/jobrender/JobRenderer.h"
#include "tools/jobrender/Stroker.h"

namespace jobrender {

// The page as "PS" set it, in plotter units.
struct PageFrame {
    double length = 0;  // first "PS" parameter: along the paper's feed
    double width = 0;
    bool fromJob = false;  // false: no "PS" before the first drawing, ISO A4 landscape assumed
    bool rotated() const { return length > width; }
};

struct PassResult {
    bool ok = true;
    std::string error;
    std::size_t errorOffset = 0;
    PageFrame page;
    std::size_t pages = 0;
    RenderWarnings warnings;
};

class JobInterpreter {
  public:
    // `page` fixes the frame for painting passes (from the checking pass); null for the checking
    // pass, which takes the frame from the job. `band` null: nothing is painted.
    JobInterpreter(std::string_view job, const RenderOptions& options, const PageFrame* page,
                   BandCanvas* band);
    PassResult run();

  private:
    struct Pen {
        Rgb colour;
        double widthMm = 0.35;
    };
    struct Number {
        double value = 0;
        bool present = false;
    };

    // Stream level.
    void fail(std::string what, std::size_t at);
    bool failed() const { return !m_result.ok; }
    void pcl_text();
    void escape();
    void parameterized_escape(std::size_t start);
    void hpgl();
    void hpgl_command();
    std::vector<Number> parameters(std::string_view mnemonic);
    void skip_label();
    void polyline_encoded();
    bool pe_number(bool sevenBit, double& value);
    void warn(std::size_t& counter, const std::string& name);

    // Graphics state.
    void reset_hpgl();
    void default_pens();
    Rgb default_pen_colour(int pen) const;
    void set_page(double length, double width);
    PointF user_to_plu(double ux, double uy) const;
    PointF user_delta_to_plu(double dx, double dy) const;
    PointF plu_to_printer(PointF p) const;
    PointF printer_to_pixel(PointF p) const;
    PointF plu_to_pixel(PointF p) const { return printer_to_pixel(plu_to_printer(p)); }
    double pixels_per_plu() const { return m_options.dpi / 1016.0; }
    bool page_open();

    // Drawing.
    void move_to(PointF plu);
    void line_to(PointF plu);
    void flush_path();
    double pattern_length_pixels() const;
    Paint pen_paint(bool forFill) const;
    void fill_polygon(FillRule rule);
    void edge_polygon();
    void coordinates(const std::vector<Number>& p, bool down, bool relative);

    friend class PassRasterCanvas;

    std::string_view m_job;
    const RenderOptions& m_options;
    BandCanvas* m_band;
    std::size_t m_pos = 0;
    PassResult m_result;

    // HP-GL/2 state.
    std::vector<Pen> m_pens;
    double m_crBlack[3] = {0, 0, 0};
    double m_crWhite[3] = {255, 255, 255};
    StrokeStyle m_style;
    PointF m_p1, m_p2;
    double m_sc[4] = {0, 1, 0, 1};  // xmin, xmax|xfactor, ymin, ymax|yfactor
    double m_fillOption1 = 0, m_fillOption2 = 0;
    PointF m_anchor;
    PointF m_position;  // plotter units
    // "LT": solid, or a line type with its pattern length (percent of the P1-P2 diagonal, or mm)
    // and, for fixed types, the pattern's residue carried from one line to the next.
    struct LineType {
        double length = 4;
        int type = 0;
        bool solid = true;
        bool absolute = false;
    };
    LineType m_lineType;
    LineType m_previousLineType;
    double m_lineResidue = 0;
    // The path being stroked and the polygon buffer, in page pixels.
    std::vector<PointF> m_path;
    std::vector<Ring> m_polygon;
    std::size_t m_polygonPoints = 0;
    int m_pen = 1;
    int m_rotation = 0;
    int m_scaleType = 0;
    int m_fillType = 1;
    int m_rop = 252;
    char m_labelTerminator = '\x03';
    // Flags, kept together so the object carries no padding between them.
    bool m_pageFixed = false;
    bool m_drawn = false;
    bool m_pageDone = false;
    bool m_inHpgl = false;
    bool m_widthRelative = false;
    bool m_scaled = false;
    bool m_transparent = true;
    bool m_relative = false;
    bool m_penDown = false;
    bool m_polygonMode = false;
    bool m_newSubpolygon = false;
};

}  // namespace jobrender
