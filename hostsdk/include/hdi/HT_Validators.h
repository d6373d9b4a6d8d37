#pragma once
// The host's standard validators: each checks one side of a definition's configuration against
// its capabilities, and either reports what is wrong or puts it right, as the strategy says.
#include "hdi/HT_Object.h"

class HT_Std_Plotter_Definition;
class HT_Std_Plotter_Class_Factory;

enum class HT_Validation_Strategy {
    Report,   // change nothing; say whether the configuration is valid
    Correct,  // replace what is invalid by the capabilities' default where there is one
};

// The base of the validators: bound to one definition, which it keeps alive.
class HT_Std_Validator : public HT_Counted {
  public:
    explicit HT_Std_Validator(HT_Std_Plotter_Definition* definition);
    ~HT_Std_Validator() override;
    HT_Std_Validator(const HT_Std_Validator&) = delete;
    HT_Std_Validator& operator=(const HT_Std_Validator&) = delete;
    HT_Std_Plotter_Definition* definition() const { return m_definition.get(); }

  private:
    SPMP<HT_Std_Plotter_Definition> m_definition;
};

class HT_Std_Media_Validator : public HT_Std_Validator {
  public:
    using HT_Std_Validator::HT_Std_Validator;
    // The configured size is one the capabilities offer (same name and dimensions).
    virtual bool validate_size(HT_Validation_Strategy strategy);
    // The configured source is empty (the model's first) or one the capabilities offer.
    virtual bool validate_source(HT_Validation_Strategy strategy);
    // The size entry leaves a printable area, and the copies are between 1 and 999.
    virtual bool validate_source_entry(HT_Validation_Strategy strategy);
};

class HT_Std_ResColorMem_Validator : public HT_Std_Validator {
  public:
    using HT_Std_Validator::HT_Std_Validator;
    // The configured resolution and colour mode are ones the capabilities offer.
    virtual bool validate_res_color_mem(HT_Validation_Strategy strategy);
};

class HT_Std_Custom_Validator : public HT_Std_Validator {
  public:
    using HT_Std_Validator::HT_Std_Validator;
    // Every configured custom item is declared, with data of the declared type; correcting puts
    // the declared default in place of data of the wrong type (undeclared items stay invalid).
    virtual bool validate_all_custom(HT_Validation_Strategy strategy);
};

class HT_Std_Plotter_IO_Validator : public HT_Std_Validator {
  public:
    using HT_Std_Validator::HT_Std_Validator;
    // Plot to file names a file; plot to port names a device path or a "|command" with a command,
    // and the capabilities allow that kind of output.
    virtual bool validate_portname_and_type(HT_Validation_Strategy strategy);
};

// Runs the four validators that a class factory makes for its definition (which it does not own:
// the definition owns this validator).
class HT_Std_Plotter_Validator : public HT_Counted {
  public:
    explicit HT_Std_Plotter_Validator(HT_Std_Plotter_Definition* definition)
        : m_definition(definition) {}
    bool validate_all(HT_Std_Plotter_Class_Factory& factory, HT_Validation_Strategy strategy);
    HT_Std_Plotter_Definition* definition() const { return m_definition; }

  private:
    HT_Std_Plotter_Definition* m_definition;
};
