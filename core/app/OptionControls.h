// The controls the settings are kept in. Setting a check box here never runs its
// click handler; the logic decides when a handler runs.
#pragma once

namespace quenlit {

class OptionControls {
 public:
  virtual ~OptionControls() = default;
  virtual int editorIndex() const = 0;  // ComboBox1; -1 when no item is selected
  virtual void setEditorIndex(int index) = 0;
  virtual bool jumpChecked() const = 0;  // CheckBox1 "Jump"
  virtual void setJumpChecked(bool checked) = 0;
  virtual bool reloadChecked() const = 0;  // CheckBox2 "Reload"
  virtual void setReloadChecked(bool checked) = 0;
  virtual void showKeyChoice(bool ctrlG) = 0;  // CTRLG2/CTRLG4/ALTG1/ALTG2 and the two parent captions
};

}  // namespace quenlit
