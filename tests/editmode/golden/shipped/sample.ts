// A module in TypeScript
import { readFile } from "fs";

export interface Point { x: number; y: number }

const greeting = `hello
  over two rows ${name}`;
let quoted = 'single quoted';
/* block comment with return */
async function load(path: string): Promise<string> {
  const text = await readFile(path);
  return typeof text === "string" ? text : console.log(0x10);
}
