#!/usr/bin/env bash
# Each layer includes only itself and the layers below it:
#   document <- barcode <- source, view; document <- shell <- edit <- platform <- ui <- app;
#   view <- merge <- basic <- edit
# and the layers below platform include no Qt header. Prints every include that breaks this.
set -euo pipefail
src="$1"
declare -A allowed=(
  [document]="document"
  [barcode]="document barcode"
  [source]="document barcode source"
  [view]="document barcode view"
  [shell]="document shell"
  [merge]="document barcode view merge"
  [basic]="document barcode source view merge basic"
  [edit]="document barcode source view shell basic edit"
  [platform]="document barcode source view merge shell basic edit platform"
  [ui]="document barcode source view merge shell basic edit platform ui"
  [app]="document barcode source view merge shell basic edit platform ui app"
)
qtfree="document barcode source view merge shell basic edit"
layers="${!allowed[*]}"
bad=0
for layer in $layers; do
  [ -d "$src/$layer" ] || continue
  while IFS= read -r hit; do
    file="${hit%%:*}"
    header=$(sed -E 's/.*#include +"([^"]+)".*/\1/' <<<"${hit#*:}")
    used="${header%%/*}"
    [ "$used" = "$header" ] && continue  # a header of the same folder
    case " $layers " in *" $used "*) ;; *) continue ;; esac
    case " ${allowed[$layer]} " in
      *" $used "*) ;;
      *) echo "$file: the $layer layer includes $header from $used"; bad=1 ;;
    esac
  done < <(grep -HE '^\s*#\s*include +"' -r "$src/$layer" --include='*.h' --include='*.cpp' || true)
  case " $qtfree " in
    *" $layer "*)
      if grep -nE '^\s*#\s*include +<Q' -r "$src/$layer" --include='*.h' --include='*.cpp'; then
        echo "the $layer layer includes Qt"
        bad=1
      fi
      ;;
  esac
done
[ "$bad" -eq 0 ] && echo "layer rules: every include goes down"
exit "$bad"
