// Each sticky colour's fill, text and tint, as light / dark sRGB values.
export interface Swatch {
  fill: string;
  text: string;
  tint: string;
}

export const palette: Record<string, { light: Swatch; dark: Swatch }> = {
  yellow: {
    light: { fill: "#FFF2B0", text: "#262210", tint: "#915B00" },
    dark: { fill: "#2D2A1D", text: "#EDEBE2", tint: "#EDC56E" },
  },
  blue: {
    light: { fill: "#D8F1FF", text: "#192329", tint: "#1B66AF" },
    dark: { fill: "#192A33", text: "#E2EDF3", tint: "#7FBFEF" },
  },
  green: {
    light: { fill: "#DBF8DA", text: "#1A251A", tint: "#20753C" },
    dark: { fill: "#202B20", text: "#E6EEE6", tint: "#8ED09C" },
  },
  pink: {
    light: { fill: "#FFE3E7", text: "#2A1E20", tint: "#AB3A58" },
    dark: { fill: "#332225", text: "#F4E8E9", tint: "#EEA7B3" },
  },
  purple: {
    light: { fill: "#EBE5FF", text: "#22202B", tint: "#6E4FB2" },
    dark: { fill: "#292535", text: "#ECE9F4", tint: "#BEAFEF" },
  },
  gray: {
    light: { fill: "#ECEDEF", text: "#202224", tint: "#505357" },
    dark: { fill: "#26282A", text: "#EAEBEC", tint: "#C2C4C8" },
  },
};

function channels(hex: string): string {
  const value = parseInt(hex.slice(1), 16);
  return `${(value >> 16) & 255} ${(value >> 8) & 255} ${value & 255}`;
}

// The colour is written as CSS variables ("r g b") for both appearances; the stylesheet picks one with
// prefers-color-scheme, so a change of appearance needs no script.
export function applyColor(root: HTMLElement, name: unknown): boolean {
  if (typeof name !== "string" || !Object.hasOwn(palette, name)) return false;
  const { light, dark } = palette[name];
  root.dataset.color = name;
  for (const [key, value] of Object.entries(light)) root.style.setProperty(`--${key}-light`, channels(value));
  for (const [key, value] of Object.entries(dark)) root.style.setProperty(`--${key}-dark`, channels(value));
  return true;
}
