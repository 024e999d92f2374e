#!/usr/bin/env bash
# Fails when a source file includes across the layers of the code:
#   - the engine (theory, mechanics, experiment, util, doc) and the command-line
#     calculator include no Qt header and nothing of the desktop program;
#   - the shared GUI pieces (guibase) include nothing of the folders above them;
#   - the project model (model) includes no widget and nothing of the views above it;
#   - the controls and the chart include nothing of the forms or the windows, and
#     the forms nothing of the windows;
#   - the maths (mechanics) includes nothing of the theory, experiment or project;
#   - only the chart includes Qt Charts.
#   usage: check-layers.sh SRC_DIR
set -uo pipefail
src=${1:?usage: check-layers.sh SRC_DIR}
cd "$src" || exit 2

gui='(app|forms|controls|chart|guibase|model)/'
qt='Q[A-Za-z0-9_]*(/[^>]*)?|Qt[A-Za-z0-9]+/[^>]*'
# folders ; forbidden include (an extended regular expression of the included name) ; why
rules=(
  "theory mechanics experiment util doc cli;<($qt)>;a Qt header in the engine or the command-line calculator"
  "theory mechanics experiment util doc cli;\"$gui;a desktop program header in the engine or the command-line calculator"
  "guibase;\"(app|forms|controls|chart)/;a higher GUI layer in the shared GUI pieces"
  "model;\"(app|forms|controls|chart|guibase)/;a view in the project model"
  "model;<(QtWidgets/[^>]*|QWidget|QMainWindow|QAction);a widget in the project model"
  "controls chart;\"(app|forms)/;a window or form header in the controls or the chart"
  "forms;\"app/;a window header in the forms"
  "mechanics;\"(theory|experiment|doc)/;the theory, experiment or project in the maths"
  "theory mechanics experiment util doc cli guibase model controls forms app;<QtCharts/;Qt Charts outside the chart"
)

found=0
for rule in "${rules[@]}"; do
  IFS=';' read -r folders pattern why <<< "$rule"
  for folder in $folders; do
    [ -d "$folder" ] || continue
    hits=$(grep -rnE --include='*.h' --include='*.cpp' "^[[:space:]]*#[[:space:]]*include[[:space:]]*$pattern" "$folder")
    [ $? -le 1 ] || { echo "check-layers: grep failed on $folder"; exit 2; }
    while IFS= read -r hit; do
      [ -n "$hit" ] || continue
      echo "$hit: $why"
      found=$((found + 1))
    done <<< "$hits"
  done
done
echo "$found forbidden includes"
[ "$found" -eq 0 ]
