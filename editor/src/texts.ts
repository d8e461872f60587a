// The page's own few texts, in the languages the app ships.
const texts = {
  en: {
    placeholder: "Type / for commands",
    todo: "To-do",
    image: "Image",
    remoteImage: "External images are not loaded",
  },
  "zh-Hans": {
    placeholder: "输入 / 使用命令",
    todo: "待办",
    image: "图片",
    remoteImage: "不加载外部图片",
  },
};

export type TextKey = keyof (typeof texts)["en"];

export function text(key: TextKey, lang: string = document.documentElement.lang): string {
  const table = lang.toLowerCase().startsWith("zh") ? texts["zh-Hans"] : texts.en;
  return table[key];
}
